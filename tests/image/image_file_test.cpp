// The image file: no write to a file its owner protected, no read or write past its end, runs
// of game data split at the ends of sectors' user data, and runs named in hex as the messages
// name the bytes to check. Small files beside the image: written whole through temporary files
// that a killed writer's successor clears away, read with a bound, and named in folders by
// std::filesystem's rules.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_file.h"
#include "image/offset_text.h"
#include "image/raw_geometry.h"
#include "image/whole_files.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "test_files.h"

namespace tavrel::testing {
namespace {

FileFailure openFailure(const std::string& path) {
    try {
        ImageFile file(path);
    } catch (const FileError& error) {
        return error.failure;
    }
    ADD_FAILURE() << path << " opened";
    return FileFailure::OpenFailed;
}

// No write bit at all (on Windows, the read-only attribute): refused also for root, whose
// writes the mode would not stop. (A held image, a missing one and a folder: the editor's and
// the tool's refusals.)
TEST(ImageFile, IsRefusedWhenItsOwnerProtectedIt) {
    TempDir dir;
    const std::string path = dir.file("game.bin");
    writeWholeFile(path, Bytes(4096));
    using std::filesystem::perms;
    std::filesystem::permissions(path, perms::owner_read | perms::group_read | perms::others_read);
    EXPECT_EQ(openFailure(path), FileFailure::AccessRefused);
}

TEST(ImageFile, NeverReadsOrWritesPastItsEnd) {
    TempDir dir;
    const std::string path = dir.file("game.bin");
    writeWholeFile(path, Bytes(100, 0x11));
    ImageFile file(path);
    const Bytes four{1, 2, 3, 4};
    try {
        file.write(98, four);
        ADD_FAILURE() << "wrote past the end";
    } catch (const FileError& error) {
        EXPECT_EQ(error.failure, FileFailure::TooShort);
        EXPECT_EQ(error.offset, 98);
        EXPECT_EQ(error.count, 4);
        EXPECT_EQ(error.fileSize, 100);
    }
    EXPECT_THROW(file.read(97, 4), FileError);
    file.write(96, four);
    EXPECT_EQ(file.read(95, 5), (Bytes{0x11, 1, 2, 3, 4}));
    EXPECT_EQ(readWholeFile(path).size(), 100u);
}

TEST(RawGeometry, SplitsRunsOnlyAtTheEndOfUserData) {
    const std::int64_t sector = 5 * kRawSectorSize;
    struct Case {
        std::int64_t offset, length;
        std::vector<ByteRun> runs;
    };
    const Case cases[] = {
        {sector + 24, 2048, {{sector + 24, 2048}}},
        {sector + 2046, 30, {{sector + 2046, 26}, {sector + 2352 + 24, 4}}},
        {sector + 2071,
         2050,
         {{sector + 2071, 1}, {sector + 2352 + 24, 2048}, {sector + 4704 + 24, 1}}},
    };
    for (const Case& c : cases) EXPECT_EQ(userDataRuns(c.offset, c.length), c.runs) << c.offset;
    for (const std::int64_t framing : {sector, sector + 23, sector + 2072, sector + 2351})
        EXPECT_THROW(userDataRuns(framing, 1), std::invalid_argument) << framing;
}

TEST(OffsetText, NamesEachRunByItsFirstByteAndItsEnd) {
    const std::vector<ByteRun> runs = {{0x1D6F39, 1}, {0xBF7F4E, 26}, {0x7FFFFFFF0, 2}};
    EXPECT_EQ(hexRuns(runs, RunEnd::LastOffset),
              "0x1D6F39, 0xBF7F4E–0xBF7F67, 0x7FFFFFFF0–0x7FFFFFFF1");
    EXPECT_EQ(hexRuns(runs, RunEnd::ByteCount), "0x1D6F39, 0xBF7F4E+25, 0x7FFFFFFF0+1");
    EXPECT_EQ(hexRuns({}, RunEnd::ByteCount), "");
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WholeFiles, AKilledWritersTemporaryFilesAreClearedByTheNextWrite) {
    TempDir dir;
    const std::string mine = ".tavrel-" + std::to_string(sys::processId()) + "-7.tmp";
    // Names of ours whose writer still runs (this program; on POSIX the first process, which
    // runs as long as the system), and names not of ours, stay. No process has an id as high as
    // 2000000000 (above every system's limit): its writer is dead, its file goes.
    std::vector<std::string> kept{".tavrel-x-1.tmp", mine, "keep.tmp"};
#ifndef _WIN32
    kept.push_back(".tavrel-1-3.tmp");
#endif
    for (const std::string& name : kept) writeWholeFile(dir.file(name), "left");
    writeWholeFile(dir.file(".tavrel-2000000000-12.tmp"), "left");
    writeFilesWhole(dir.path().string(), {{"new.flg", Bytes{'1'}}}, FileRole::FlagFile);
    kept.push_back("new.flg");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(namesIn(dir.path()), kept);
}

TEST(WholeFiles, AFolderIsNoFileToRead) {
    TempDir dir;
    try {
        readFileStart(dir.path().string(), 10, FileRole::Plan);
        ADD_FAILURE() << "a folder was read";
    } catch (const FileError& error) {
        EXPECT_EQ(error.failure, FileFailure::NotAFile);
        EXPECT_EQ(error.role, FileRole::Plan);
    }
    writeWholeFile(dir.file("long.txt"), std::string(100, 'x'));
    EXPECT_EQ(readFileStart(dir.file("long.txt"), 10, FileRole::Plan).size(), 10u);
}

TEST(Paths, AFileNamesItsFolderWhereverItLies) {
    const std::pair<const char*, const char*> cases[] = {
        {"x.ppf", "."}, {"/x.ppf", "/"}, {"a/b/x.ppf", "a/b"}, {"../x.flg", ".."}};
    for (const auto& [path, folder] : cases) {
        EXPECT_EQ(folderOf(path), folder) << path;
        const std::string joined = pathIn(folderOf(path), fileNameOf(path));
        EXPECT_EQ(fileNameOf(joined), fileNameOf(path)) << joined;
        EXPECT_EQ(folderOf(joined), folder) << joined;
    }
}

}  // namespace
}  // namespace tavrel::testing
