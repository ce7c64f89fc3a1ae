// The game's fixed places beside the team table: the five copies of the flag-type table, the
// two-piece name of team 4 and the goal-net bytes. All offsets are 0-based file offsets.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "image/raw_geometry.h"
#include "layout/team_table.h"

namespace tavrel {

// The type table: one flag-type byte per slot. Slots 0..53 are the national teams, 54..62
// belong to no listed team (the game's own; always written back as read), 63..94 the clubs.
inline constexpr int kTypeTableSize = 95;
inline constexpr int kUnlistedSlotCount = 9;
inline constexpr std::array<std::int64_t, 5> kTypeTableCopyOffsets{
    1929004,  // 0x1D6F2C  copy 1, the one current flags are read from
    2005412,  // 0x1E99A4
    2328060,  // 0x2385FC
    4904664,  // 0x4AD6D8
    5711640,  // 0x572718
};

// Slot of a team index 0..85 in every copy of the type table.
constexpr int typeSlot(int team) {
    return team < kFirstClubIndex ? team : team + kUnlistedSlotCount;
}

// Team 4's name: the last 4 user-data bytes of one sector and the first 6 of the next.
inline constexpr std::int64_t kPortugalNameOffset1 = 2003620;  // 0x1E92A4
inline constexpr std::int16_t kPortugalNameLength1 = 4;
inline constexpr std::int64_t kPortugalNameOffset2 = 2003928;  // 0x1E93D8
inline constexpr std::int16_t kPortugalNameLength2 = 6;
inline constexpr int kPortugalIndex = 4;

// A palette: fifteen 16-bit colour words.
inline constexpr int kPaletteBytes = 30;

// The goal-net pattern: two bytes, 00 65 for plain nets, 28 61 for diamond nets.
inline constexpr std::int64_t kNetBytesOffset = 14368636;  // 0xDB3F7C
inline constexpr int kNetBytesLength = 2;

// Where a palette at 1-based `palettePosition` lies in the raw image: one run of 30 bytes,
// or two where it reaches the end of a sector's user data (teams 13 and 80: 26 bytes, then
// 4 bytes at the start of the next sector's user data).
std::vector<ByteRun> paletteRuns(std::int64_t palettePosition);

// Every fixed place lies inside one sector's user data, but for the two palettes that
// paletteRuns splits; checked here so that a mistyped offset cannot reach a user's image.
static_assert(kTeamTable.size() == kTeamCount);
static_assert(typeSlot(kFirstClubIndex - 1) == 53 && typeSlot(kFirstClubIndex) == 63);
static_assert(typeSlot(kTeamCount - 1) == kTypeTableSize - 1);
static_assert(fitsInOneSector(kNetBytesOffset + 1, kNetBytesLength));
static_assert(fitsInOneSector(kPortugalNameOffset1 + 1, kPortugalNameLength1));
static_assert(fitsInOneSector(kPortugalNameOffset2 + 1, kPortugalNameLength2));
static_assert(kPortugalNameOffset2 - kPortugalNameOffset1 - kPortugalNameLength1 ==
              kRawSectorSize - kSectorUserDataSize);

constexpr bool allTypeTablesFit() {
    for (std::size_t k = 0; k < kTypeTableCopyOffsets.size(); ++k) {
        if (!fitsInOneSector(kTypeTableCopyOffsets[k] + 1, kTypeTableSize))
            return false;
        if (k > 0 && kTypeTableCopyOffsets[k] < kTypeTableCopyOffsets[k - 1] + kTypeTableSize) {
            return false;
        }
    }
    return true;
}
static_assert(allTypeTablesFit(), "type-table copies must not cross a sector or overlap");

constexpr bool allNamesFit() {
    for (const TeamEntry& team : kTeamTable) {
        if (team.nameOffset != kNoName && !fitsInOneSector(team.nameOffset + 1, team.nameLength)) {
            return false;
        }
    }
    return true;
}
static_assert(allNamesFit(), "a team name must lie inside one sector's user data");

constexpr bool allPalettesStartInUserData() {
    for (const TeamEntry& team : kTeamTable) {
        if (team.paletteOffset != kNoPalette && !isUserData(team.paletteOffset + 1))
            return false;
    }
    return true;
}
static_assert(allPalettesStartInUserData());

}  // namespace tavrel
