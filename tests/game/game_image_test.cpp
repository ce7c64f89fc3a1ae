// GameImage on framed test images: a flag write changes exactly the team's five type slots and
// its palette; names as the game stores them. (The nets: the tool's checksum test and the
// real-window tests, which name their bytes; the type read from the first copy: the flag
// window's test of Newcastle, whose copies disagree in the test image.)
#include <gtest/gtest.h>

#include <set>

#include "game/game_image.h"
#include "game/name_codec.h"
#include "journal/image_session.h"
#include "raw_image_builder.h"
#include "test_files.h"
#include "test_image.h"

namespace tavrel::testing {
namespace {

class GameImageTest : public ::testing::Test {
protected:
    std::string image(const Bytes& content, const char* name = "game.bin") {
        const std::string path = dir.file(name);
        writeWholeFile(path, content);
        return path;
    }
    TempDir dir;
};

TEST_F(GameImageTest, AFlagChangesExactlyTheTeamsSlotsAndPalette) {
    // First and last national team and club, both palettes split across a sector end, and the
    // two teams without a palette.
    for (const int team : {0, 53, 54, 85, 13, 80, 59, 76}) {
        const std::string path = image(pristineImage());
        ImageSession file(path);
        GameImage game(file);
        game.writeFlag(team, unusualFlag());
        EXPECT_EQ(readWholeFile(path), withFlag(pristineImage(), team, unusualFlag())) << team;
        EXPECT_EQ(game.readType(team), unusualFlag().type);
        if (hasPalette(team)) {
            EXPECT_EQ(game.readFlag(team), unusualFlag());
        }
    }
}

TEST_F(GameImageTest, FlagsForEveryTeamLeaveFramingAndTheGamesOwnSlotsAlone) {
    const Bytes marked =
        build::RawImageBuilder(build::kGameImageSectors, build::UserDataFill::Pattern,
                               build::Framing::Marked)
            .bytes();
    const std::string path = image(marked);
    ImageSession file(path);
    GameImage game(file);
    std::vector<TeamFlag> flags;
    for (int team = 0; team < kTeamCount; ++team) flags.push_back({team, unusualFlag()});
    game.apply(game.planFlags(flags));
    const auto changed = differingOffsets(marked, readWholeFile(path));
    for (const std::int64_t offset : changed) {
        ASSERT_TRUE(isUserData(offset)) << offset;
        for (const std::int64_t copy : kTypeTableCopies)
            ASSERT_FALSE(offset >= copy + 54 && offset <= copy + 62) << offset;
    }
}

TEST_F(GameImageTest, NamesAreDecodedAsTheGameStoresThem) {
    ImageSession file(image(pristineImage()));
    const GameImage game(file);
    EXPECT_EQ(game.teamName(0), "Ireland");
    EXPECT_EQ(game.teamName(4), "Portu");    // 4 + 6 bytes from two sectors
    EXPECT_EQ(game.teamName(35), "S. Af ");  // a blank widened to a unit, a cut last letter

    const std::pair<Bytes, const char*> pieces[] = {
        // Only the first single-byte blank is widened; a later one pairs with the next byte.
        {{0x82, 0x60, 0x20, 0x82, 0x81, 0x20, 0x82, 0x82}, "A a  "},
        {{0x20, 0x82, 0x60, 0x82, 0x61}, " AB"},
        {{0x82, 0x61, 0x82, 0x8F, 0x82, 0x83, 0x82, 0x81, 0x82, 0x8A, 0x82}, "Bocaj "},
        // Z, z, full stop; digits, the full-width space and unknown codes show as blanks.
        {{0x82, 0x79, 0x82, 0x9A, 0x81, 0x44, 0x82, 0x4F, 0x81, 0x40, 0x82, 0x80, 0x82, 0x5F},
         "Zz.    "},
    };
    for (const auto& [bytes, text] : pieces) EXPECT_EQ(decodeNamePiece(bytes), text);
}

// The game keeps its palettes as entries of 32 bytes in one table, the colours 6 bytes into
// each, counted in the file's user data; its names one after another, each followed by a zero
// and padded to 4 bytes. A mistyped offset breaks one of these.
TEST(TeamTable, PlacesFollowTheGamesTables) {
    const auto dataOffset = [](std::int64_t offset) {
        return offset / kRawSectorSize * kSectorUserDataSize + offset % kRawSectorSize - 24;
    };
    std::set<std::int64_t> entries;
    const Team* previous = nullptr;
    for (const Team& team : kTeams) {
        if (team.paletteOffset != kNoPalette) {
            EXPECT_EQ(dataOffset(team.paletteOffset) % 32, 6) << team.label;
            EXPECT_TRUE(entries.insert(dataOffset(team.paletteOffset) / 32).second) << team.label;
        }
        if (previous != nullptr && previous->nameOffset != kNoName && team.nameOffset != kNoName &&
            previous->nameOffset > team.nameOffset) {
            const std::int64_t gap = previous->nameOffset - team.nameOffset;
            EXPECT_TRUE(gap % 4 == 0 && gap > team.nameLength) << team.label;
        }
        previous = &team;
    }
}

}  // namespace
}  // namespace tavrel::testing
