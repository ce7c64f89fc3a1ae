// How tavrel-tool words the game's places that a patch or a difference touches: one line per
// team ("Denmark: tipo, tavolozza"), then the nets, the sectors' checksums and the other bytes.
#pragma once

#include <string>
#include <vector>

#include "game/place_map.h"

namespace tavrel::tool {

// "Denmark", or what the unlisted type slots are called.
std::string teamLabel(int team);

std::vector<std::string> placeLines(const PlaceTally& tally);

// "40 byte in 3 settori".
std::string bytesInSectors(std::int64_t bytes, std::size_t sectors);

}  // namespace tavrel::tool
