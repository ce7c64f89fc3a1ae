// The game check on images that are the game and images that are not; and what opening a name
// refuses or finds before any check: containers, the data track of a .cue sheet.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "game/game_check.h"
#include "image/image_file.h"
#include "journal/image_session.h"
#include "raw_image_builder.h"
#include "test_files.h"
#include "test_image.h"

namespace tavrel::testing {
namespace {

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
