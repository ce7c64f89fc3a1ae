#include "image/image_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "image/image_error.h"
#include "test_files.h"

namespace tavrel {
namespace {

using testing::readWholeFile;
using testing::TempDir;
using testing::writeWholeFile;

class ImageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeWholeFile(path, "0123456789");
        image.open(path);
    }
    TempDir dir;
    std::string path = dir.file("image.bin");
    ImageFile image;
};

TEST_F(ImageFileTest, ReadsAndWritesAtOneBasedPositions) {
    EXPECT_EQ(image.read(1, 3), (Bytes{'0', '1', '2'}));
    EXPECT_EQ(image.read(10, 1), (Bytes{'9'}));
    image.write(2, Bytes{'a', 'b'});
    image.sync();
    EXPECT_EQ(readWholeFile(path), (Bytes{'0', 'a', 'b', '3', '4', '5', '6', '7', '8', '9'}));
}

TEST_F(ImageFileTest, ReadsPastTheEndFail) {
    const std::pair<std::int64_t, std::size_t> reads[] = {{10, 2}, {11, 1}, {0, 1}, {-5, 1}};
    for (const auto& [position, count] : reads) {
        EXPECT_THROW(image.read(position, count), IoError) << position;
    }
}

TEST_F(ImageFileTest, WritesPastTheEndFailBeforeWritingAnything) {
    EXPECT_THROW(image.write(9, Bytes{'x', 'y', 'z'}), IoError);
    EXPECT_THROW(image.write(11, Bytes{'x'}), IoError);
    image.write(5, Bytes{});
    EXPECT_EQ(readWholeFile(path), (Bytes{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}));
}

TEST_F(ImageFileTest, ASecondOpenOfTheSameImageIsRefusedUntilTheFirstCloses) {
    ImageFile second;
    EXPECT_THROW(second.open(path), AccessRefused);
    image.close();
    EXPECT_NO_THROW(second.open(path));
}

TEST(ImageFile, MissingFilesAndFoldersAreOrdinaryFailures) {
    TempDir dir;
    ImageFile image;
    for (const std::string& path : {dir.file("missing.bin"), dir.path().string()}) {
        try {
            image.open(path);
            ADD_FAILURE() << path << " opened";
        } catch (const AccessRefused&) {
            ADD_FAILURE() << path << " counted as refused access";
        } catch (const IoError&) {
        }
    }
    EXPECT_FALSE(image.isOpen());
    EXPECT_THROW(image.read(1, 1), IoError);
}

}  // namespace
}  // namespace tavrel
