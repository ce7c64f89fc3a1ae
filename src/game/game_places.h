// The game's fixed places beside the team table: the five copies of the flag-type table, the
// two-piece name of team 4, the palettes' layout and the goal-net bytes. 0-based file offsets.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "game/team_table.h"
#include "image/raw_geometry.h"

namespace tavrel {

// The type table: one flag-type byte per slot. Slots 0..53 are the national teams, 54..62
// belong to no listed team (the game's own; always written back as read), 63..94 the clubs.
inline constexpr int kTypeTableSize = 95;
inline constexpr int kUnlistedSlots = 9;
inline constexpr std::array<std::int64_t, 5> kTypeTableCopies{
    1929004,  // 0x1D6F2C  the copy current flags are read from
    2005412,  // 0x1E99A4
    2328060,  // 0x2385FC
    4904664,  // 0x4AD6D8
    5711640,  // 0x572718
};

constexpr int typeSlot(int team) {
    return team < kFirstClub ? team : team + kUnlistedSlots;
}

// Team 4's name: the last 4 user-data bytes of one sector and the first 6 of the next.
inline constexpr int kTwoPieceNameTeam = 4;
inline constexpr std::array<ByteRun, 2> kTwoPieceName{{{2003620, 4}, {2003928, 6}}};

inline constexpr int kPaletteSize = 30;

// Where `team`'s palette lies: one run of 30 bytes, or two where it reaches the end of a
// sector's user data (teams 13 and 80: 26 bytes, then 4 at the start of the next sector's).
// Empty for a team without a palette.
std::vector<ByteRun> paletteRuns(int team);

// The sectors that hold places Tavrel writes: the type-table copies, every palette with its
// split runs, and the net bytes; the ones whose checksums an edit leaves stale. In file order.
std::vector<std::int64_t> touchedSectors();

// The goal-net pattern: two bytes.
inline constexpr std::int64_t kNetsOffset = 14368636;  // 0xDB3F7C
enum class NetPattern { Plain, Diamond };
inline constexpr std::array<std::uint8_t, 2> kPlainNets{0x00, 0x65};
inline constexpr std::array<std::uint8_t, 2> kDiamondNets{0x28, 0x61};

// The pattern two net bytes hold; none for any other value.
inline std::optional<NetPattern> netPattern(std::span<const std::uint8_t> bytes) {
    if (std::ranges::equal(bytes, kPlainNets))
        return NetPattern::Plain;
    if (std::ranges::equal(bytes, kDiamondNets))
        return NetPattern::Diamond;
    return std::nullopt;
}

// Every fixed place lies inside one sector's user data, but for the two palettes that
// paletteRuns splits; checked here so that a mistyped offset cannot reach a user's image.
static_assert(typeSlot(kFirstClub - 1) == 53 && typeSlot(kFirstClub) == 63);
static_assert(typeSlot(kTeamCount - 1) == kTypeTableSize - 1);
static_assert(fitsInOneSector(kNetsOffset, 2));
static_assert(fitsInOneSector(kTwoPieceName[0].offset, kTwoPieceName[0].length));
static_assert(fitsInOneSector(kTwoPieceName[1].offset, kTwoPieceName[1].length));
static_assert(kTwoPieceName[0].offset + kTwoPieceName[0].length + kRawSectorSize -
                  kSectorUserDataSize ==
              kTwoPieceName[1].offset);

constexpr bool typeTablesFit() {
    for (std::size_t k = 0; k < kTypeTableCopies.size(); ++k) {
        if (!fitsInOneSector(kTypeTableCopies[k], kTypeTableSize))
            return false;
        if (k > 0 && kTypeTableCopies[k] < kTypeTableCopies[k - 1] + kTypeTableSize)
            return false;
    }
    return true;
}
static_assert(typeTablesFit(), "type-table copies must not cross a sector or overlap");

constexpr bool teamPlacesFit() {
    for (const Team& team : kTeams) {
        if (team.nameOffset != kNoName && !fitsInOneSector(team.nameOffset, team.nameLength))
            return false;
        if (team.paletteOffset != kNoPalette && !isUserData(team.paletteOffset))
            return false;
    }
    return true;
}
static_assert(teamPlacesFit(), "names lie inside one sector's user data, palettes start in one");

}  // namespace tavrel
