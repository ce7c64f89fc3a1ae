#include "layout/team_table.h"

#include <gtest/gtest.h>

#include <set>

#include "layout/game_layout.h"

namespace tavrel {
namespace {

TEST(TeamTable, HoldsItsStructuralFacts) {
    const std::set<int> nameLengths{8, 10, 11, 12, 14, 18};
    std::int32_t previousName = INT32_MAX;
    for (int i = 0; i < kTeamCount; ++i) {
        const TeamEntry& team = kTeamTable[static_cast<std::size_t>(i)];
        ASSERT_EQ(team.index, i);
        EXPECT_EQ(team.paletteOffset == kNoPalette, i == 59 || i == 76) << i;
        if (i == kPortugalIndex) {
            EXPECT_EQ(team.nameOffset, kNoName);
            continue;
        }
        EXPECT_EQ(team.nameOffset % 4, 0) << i;
        EXPECT_LT(team.nameOffset, previousName) << i;
        EXPECT_TRUE(nameLengths.count(team.nameLength)) << i;
        EXPECT_EQ(team.nameLength % 2 == 1, i == 85) << i;
        previousName = team.nameOffset;
    }
}

TEST(TeamTable, LookupsDeliverOneBasedPositions) {
    struct Case {
        int team;
        std::int32_t name;
        std::int16_t length;
        std::int32_t palette;
        std::int64_t typeByte;  // 0-based, copy 1
    };
    const Case cases[] = {
        {0, 2003981, 14, 12549519, 1929004},  {3, 2003937, 14, 12549647, 1929007},
        {13, 2003513, 10, 12549967, 1929017}, {53, 2003001, 14, 12551519, 1929057},
        {54, 2002769, 10, 12551679, 1929067}, {59, 2002701, 10, 0, 1929072},
        {70, 2002525, 18, 12552687, 1929083}, {76, 2002449, 10, 0, 1929089},
        {80, 2002389, 10, 12552319, 1929093}, {85, 2002317, 11, 12553423, 1929098},
    };
    for (const Case& c : cases) {
        std::int32_t name = -7, palette = -7;
        std::int16_t length = -7;
        Off_Name_HEX(c.team, name, length);
        OffColor(c.team, palette);
        EXPECT_EQ(name, c.name) << c.team;
        EXPECT_EQ(length, c.length) << c.team;
        EXPECT_EQ(palette, c.palette) << c.team;
        EXPECT_EQ(kTypeTableCopyOffsets[0] + typeSlot(c.team), c.typeByte) << c.team;
    }
}

TEST(TeamTable, LookupsLeaveOutputsAloneForIndexesWithoutAnEntry) {
    for (const int team : {kPortugalIndex, -1, 86, 1000}) {
        std::int32_t name = 123;
        std::int16_t length = 45;
        Off_Name_HEX(team, name, length);
        EXPECT_EQ(name, 123) << team;
        EXPECT_EQ(length, 45) << team;
    }
    for (const int team : {-1, 86}) {
        std::int32_t palette = 678;
        OffColor(team, palette);
        EXPECT_EQ(palette, 678) << team;
    }
    std::int32_t portugal = 0;
    OffColor(kPortugalIndex, portugal);
    EXPECT_EQ(portugal, 12549679);
}

TEST(TeamTable, OnlyTwoPalettesCrossIntoTheNextSector) {
    for (const TeamEntry& team : kTeamTable) {
        if (team.paletteOffset == kNoPalette)
            continue;
        const auto runs = paletteRuns(team.paletteOffset + 1);
        const bool crosses = team.index == 13 || team.index == 80;
        ASSERT_EQ(runs.size(), crosses ? 2u : 1u) << team.index;
        if (crosses) {
            EXPECT_EQ(runs[0].length, 26);
            EXPECT_EQ(runs[1].position - 1, team.index == 13 ? 12550296 : 12552648);
        }
    }
}

TEST(TeamTable, LabelsAreTheTeamListInOrder) {
    EXPECT_STREQ(teamLabel(0), "Ireland");
    EXPECT_STREQ(teamLabel(65), "Monaco");
    EXPECT_STREQ(teamLabel(80), "Bayer Monaco");
    EXPECT_STREQ(teamLabel(85), "Boca Junior");
    EXPECT_STREQ(teamLabel(86), "");
}

}  // namespace
}  // namespace tavrel
