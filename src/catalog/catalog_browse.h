// Browsing the catalog: the design shown moves one step at a time and stops at both ends.
#pragma once

#include <cstdint>
#include <string>

namespace tavrel {

// Id and position are kept apart and each is clamped on its own, as the window always did;
// they move together, so position stays id - 100.
void stepForward(std::int16_t& catalogId, std::int16_t& catalogPosition);
void stepBack(std::int16_t& catalogId, std::int16_t& catalogPosition);
void resetToFirst(std::int16_t& catalogId, std::int16_t& catalogPosition);

// "1" .. "135": the position as the label shows it.
std::string positionText(std::int16_t catalogPosition);

}  // namespace tavrel
