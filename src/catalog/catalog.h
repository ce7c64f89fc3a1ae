// The built-in catalog of 135 flag designs, keyed by catalog id 101..235; the window shows a
// design's position, id - 100. Each design has a flag record, a name, a drawing
// (design_drawing.h) and a preview bitmap, the drawing in the record's colours, which the
// window loads from its resources as ":/previews/<id>.bmp".
#pragma once

#include <string_view>

#include "game/flag.h"

namespace tavrel {

inline constexpr int kFirstCatalogId = 101;
inline constexpr int kLastCatalogId = 235;
inline constexpr int kCatalogSize = kLastCatalogId - kFirstCatalogId + 1;

constexpr bool isCatalogId(int id) {
    return id >= kFirstCatalogId && id <= kLastCatalogId;
}

// The position the window shows for a design, 1..135, and back.
constexpr int catalogPosition(int id) {
    return id - kFirstCatalogId + 1;
}
constexpr int catalogIdAt(int position) {
    return position + kFirstCatalogId - 1;
}

// One step through the catalog; the ends hold, there is no wrap-around.
constexpr int nextCatalogId(int id) {
    return id < kLastCatalogId ? id + 1 : kLastCatalogId;
}
constexpr int previousCatalogId(int id) {
    return id > kFirstCatalogId ? id - 1 : kFirstCatalogId;
}

// The design's flag. Throws std::out_of_range for an id outside 101..235.
Flag catalogFlag(int id);

// The flag written into `team` while design `catalogId` is the one chosen: `flag` as it is, but
// for the game's one exception, design 158 with Parma (team 76), which gets the type 0x38.
Flag flagForTeam(Flag flag, int team, int catalogId);

// The design's name: "Italy", "Navy and red hoops".
std::string_view catalogName(int id);

// The design's record exactly as stored: 91 characters, or 92 where it carries a trailing
// blank that no reader uses.
std::string_view catalogRecordText(int id);

}  // namespace tavrel
