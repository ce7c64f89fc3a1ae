// GameImage on framed test images: flags for every team leave the framing and the game's own
// type slots alone (what each write changes: the editor's and the tool's whole-image
// comparisons); names as the game stores them. (The nets: the tool's checksum test and the
// real-window tests, which name their bytes; the type read from the first copy: the flag
// window's test of Newcastle, whose copies disagree in the test image.) The game check on images
// that are the game and images that are not; and what opening a name refuses or finds before
// any check: containers, the data track of a .cue sheet.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>

#include "game/game_check.h"
#include "game/game_image.h"
#include "game/name_codec.h"
#include "image/image_file.h"
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

constexpr std::int64_t kSector16 = 16 * kRawSectorSize;

// Sector 16 as a volume descriptor of a disc of `mode` sectors, with or without the XA mark.
Bytes withVolume(Bytes image, int mode, bool xa) {
    image[kSector16 + 15] = static_cast<std::uint8_t>(mode);
    const std::int64_t data = kSector16 + (mode == 1 ? 16 : 24);
    const std::string_view descriptor("\1CD001\1", 7), mark("CD-XA001");
    std::copy(descriptor.begin(), descriptor.end(), image.begin() + data);
    if (xa)
        std::copy(mark.begin(), mark.end(), image.begin() + data + 1024);
    return image;
}

Bytes withNamesZeroed(Bytes image, int teams) {
    for (int team = 0; team < teams; ++team) {
        const Team& row = kTeams[static_cast<std::size_t>(team + 5)];  // one-piece names
        std::fill_n(image.begin() + row.nameOffset, row.nameLength, 0);
    }
    return image;
}

Bytes randomBytes(std::size_t size) {
    std::mt19937 random(28);
    Bytes bytes(size);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    return bytes;
}

TEST(GameCheck, PassesTheGameAndNothingElse) {
    Bytes otherNets = pristineImage();
    otherNets[kNetsOffset] = 0x12;
    struct Case {
        const char* image;
        Bytes bytes;
        bool passes;
    };
    const Case cases[] = {
        {"the game", pristineImage(), true},
        {"the game's disc with its volume", withVolume(pristineImage(), 2, true), true},
        {"six teams renamed", withNamesZeroed(pristineImage(), 6), true},
        {"seven teams renamed", withNamesZeroed(pristineImage(), 7), false},
        {"other nets", otherNets, false},
        {"the places, on a computer's CD-ROM", withVolume(pristineImage(), 1, false), false},
        {"the places, on a Mode 2 disc of no console", withVolume(pristineImage(), 2, false),
         false},
        {"another disc", withVolume(build::RawImageBuilder().bytes(), 1, false), false},
        {"random bytes", randomBytes(pristineImage().size()), false},
        {"14 MB of zeros", Bytes(14 << 20), false},
        {"cut short", Bytes(pristineImage().begin(), pristineImage().begin() + kNetsOffset), false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        writeWholeFile(dir.file("x.bin"), c.bytes);
        const GameCheck check = checkGame(ImageFile(dir.file("x.bin"), ImageAccess::ReadOnly));
        EXPECT_EQ(check.passes(), c.passes) << c.image;
    }
}

TEST(OpeningAName, RefusesAContainerBeforeAnythingAndFindsASheetsTrack) {
    TempDir dir;
    Bytes chd = pristineImage();
    std::copy_n("MComprHD", 8, chd.begin());
    writeWholeFile(dir.file("game.chd"), chd);
    try {
        ImageSession session(dir.file("game.chd"));
        ADD_FAILURE() << "a CHD opened";
    } catch (const FileError& error) {
        EXPECT_EQ(error.container, ContainerKind::Chd);
    }
    EXPECT_EQ(readWholeFile(dir.file("game.chd")), chd);
    EXPECT_FALSE(std::filesystem::exists(dir.file("game.chd.tavrel-log")));

    writeWholeFile(dir.file("game.bin"), pristineImage());
    writeWholeFile(dir.file("game.cue"), "FILE \"game.bin\" BINARY\r\nTRACK 01 MODE2/2352\r\n");
    ImageSession session(dir.file("game.cue"));
    EXPECT_EQ(session.logPath(), dir.file("game.bin") + ".tavrel-log");
}

}  // namespace
}  // namespace tavrel::testing
