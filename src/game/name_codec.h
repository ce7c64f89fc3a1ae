// Team names are stored as 2-byte full-width character codes (capital and small letters, the
// full stop), with a blank as the single byte 20. This decodes them; nothing ever encodes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tavrel {

// The plain text of one stored name piece: one character per 2-byte unit, after the first
// single-byte blank has been widened to the unit 20 20. Letters and the full stop decode to
// themselves; every other code, and a last odd byte, shows as a blank.
std::string decodeNamePiece(std::span<const std::uint8_t> piece);

}  // namespace tavrel
