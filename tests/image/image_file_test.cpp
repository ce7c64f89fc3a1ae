// The image file: one editor at a time, no write to a file its owner protected, no read or
// write past its end, runs of game data split at the ends of sectors' user data, and runs named
// in hex as the messages name the bytes to check.
#include <gtest/gtest.h>

#include "image/image_file.h"
#include "image/offset_text.h"
#include "image/raw_geometry.h"
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

TEST(ImageFile, IsRefusedWhileHeldAndWhenItsOwnerProtectedIt) {
    TempDir dir;
    const std::string path = dir.file("game.bin");
    writeWholeFile(path, Bytes(4096));
    {
        ImageFile first(path);
        EXPECT_EQ(openFailure(path), FileFailure::Held);
    }
    EXPECT_NO_THROW(ImageFile{path}) << "closing drops the lock";

    // No write bit at all (on Windows, the read-only attribute): refused also for root, whose
    // writes the mode would not stop.
    using std::filesystem::perms;
    std::filesystem::permissions(path, perms::owner_read | perms::group_read | perms::others_read);
    EXPECT_EQ(openFailure(path), FileFailure::AccessRefused);
    std::filesystem::permissions(path, perms::owner_write, std::filesystem::perm_options::add);

    EXPECT_EQ(openFailure(dir.file("missing.bin")), FileFailure::OpenFailed);
    EXPECT_EQ(openFailure(dir.path().string()), FileFailure::NotAFile);
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

}  // namespace
}  // namespace tavrel::testing
