// Names opened as images: .cue sheets as real dumps write them, read for their data track and
// found beside the sheet; containers and cooked images known by their first bytes.
#include <gtest/gtest.h>

#include "image/container_kind.h"
#include "image/cue_sheet.h"
#include "image/file_error.h"
#include "image/image_name.h"
#include "sector/raw_sector.h"
#include "test_files.h"

namespace tavrel::testing {
namespace {

using Kind = CueFault::Kind;

struct SheetCase {
    const char* shape;
    std::string text;
    std::string file;  // the data track's, or empty for a refusal
    Kind fault = Kind::None;
    int line = 0;
};

TEST(CueSheet, ReadsTheShapesDumpsComeIn) {
    const SheetCase cases[] = {
        {"one file",
         "FILE \"Game (Europe).bin\" BINARY\n  TRACK 01 MODE2/2352\n    INDEX 01 00:00:00\n",
         "Game (Europe).bin"},
        {"a file per track, CR LF, REM and PREGAP",
         "REM GENRE Sports\r\nFILE \"g (Track 1).bin\" BINARY\r\n  TRACK 01 MODE2/2352\r\n"
         "    INDEX 01 00:00:00\r\nFILE \"g (Track 2).bin\" BINARY\r\n  TRACK 02 AUDIO\r\n"
         "    PREGAP 00:02:00\r\n    INDEX 01 00:00:00\r\n",
         "g (Track 1).bin"},
        {"bare name, lower case, Mode 1",
         "file game.img binary\ntrack 1 mode1/2352\nindex 1 00:00:00\n", "game.img"},
        {"bare name with blanks, byte order mark",
         "\xEF\xBB\xBF"
         "FILE my game.bin BINARY\nTRACK 01 MODE2/2352\n",
         "my game.bin"},
        {"a sub-folder, backslashes", "FILE \"tracks\\data.bin\" BINARY\nTRACK 01 MODE2/2352\n",
         "tracks\\data.bin"},
        {"audio first", "FILE \"a.bin\" BINARY\n  TRACK 01 AUDIO\n", "", Kind::NotRawTrack, 2},
        {"a pregap inside the file",
         "FILE \"a.bin\" BINARY\nTRACK 01 MODE2/2352\n INDEX 00 00:00:00\n"
         " INDEX 01 00:02:00\n",
         "", Kind::LateStart, 4},
        {"climbs out", "FILE \"../other/a.bin\" BINARY\nTRACK 01 MODE2/2352\n", "",
         Kind::OutsideFolder, 1},
        {"absolute", "FILE \"C:\\games\\a.bin\" BINARY\nTRACK 01 MODE2/2352\n", "",
         Kind::OutsideFolder, 1},
        {"no file before the track", "TRACK 01 MODE2/2352\nFILE \"a.bin\" BINARY\n", "",
         Kind::NoDataTrack, 1},
        {"no track 1", "FILE \"a.bin\" BINARY\nTRACK 02 MODE2/2352\n", "", Kind::NoDataTrack, 0},
        {"not a sheet", std::string("\x00\xFF\xFF\xFF", 4), "", Kind::NotASheet, 0},
    };
    for (const SheetCase& c : cases) {
        const CueReading reading = parseCueSheet(c.text);
        EXPECT_EQ(reading.track ? reading.track->file : "", c.file) << c.shape;
        EXPECT_EQ(reading.fault.kind, c.fault) << c.shape;
        EXPECT_EQ(reading.fault.line, c.line) << c.shape;
    }
}

TEST(CueSheet, FindsTheTrackBesideTheSheetInAnyCase) {
    TempDir dir;
    writeWholeFile(dir.file("Game.BIN"), "raw");
    writeWholeFile(dir.file("stale.cue"), "FILE \"game.bin\" BINARY\nTRACK 01 MODE2/2352\n");
    writeWholeFile(dir.file("gone.cue"), "REM\nFILE \"gone.bin\" BINARY\nTRACK 01 MODE2/2352\n");
    // Found by its own name where names ignore case (Windows), by the folder's listing elsewhere.
    EXPECT_EQ(readWholeFile(imagePathFor(dir.file("stale.cue"))), Bytes({'r', 'a', 'w'}));
    EXPECT_EQ(imagePathFor(dir.file("Game.BIN")), dir.file("Game.BIN")) << "no sheet: itself";
    try {
        imagePathFor(dir.file("gone.cue"));
        ADD_FAILURE() << "a missing track file opened";
    } catch (const FileError& error) {
        EXPECT_EQ(error.failure, FileFailure::BadCueSheet);
        EXPECT_EQ(error.cue.kind, Kind::MissingFile);
        EXPECT_EQ(error.cue.text, "FILE \"gone.bin\" BINARY");
        EXPECT_EQ(error.cue.line, 2);
    }
}

Bytes withAt(Bytes bytes, std::size_t at, std::string_view text) {
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<long>(at));
    return bytes;
}

TEST(Containers, AreKnownByTheirFirstBytes) {
    const Bytes empty(kContainerProbeSize);
    const std::string_view descriptor("\1CD001\1", 7);
    Bytes raw =
        withAt(empty, 0, std::string_view(reinterpret_cast<const char*>(kSectorSync.data()), 12));
    raw = withAt(raw, 16 * 2352 + 24, descriptor);  // a raw image's own descriptor
    const std::pair<Bytes, ContainerKind> cases[] = {
        {withAt(empty, 0, "MComprHD"), ContainerKind::Chd},
        {withAt(empty, 0, std::string_view("ECM\0", 4)), ContainerKind::Ecm},
        {withAt(empty, 0, std::string_view("\0PBP", 4)), ContainerKind::Pbp},
        {withAt(empty, 0, "7z\xBC\xAF\x27\x1C"), ContainerKind::Archive},
        {withAt(empty, 16 * 2048, descriptor), ContainerKind::Iso2048},
        {withAt(empty, 23 * 2048, "\2CD001\1"), ContainerKind::Iso2048},  // a later volume's
        {withAt(empty, 16 * 2336 + 8, descriptor), ContainerKind::Iso2336},
        {raw, ContainerKind::None},
        {empty, ContainerKind::None},
        {Bytes(8, 0xA5), ContainerKind::None},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(recogniseContainer(cases[i].first), cases[i].second) << "case " << i;
}

}  // namespace
}  // namespace tavrel::testing
