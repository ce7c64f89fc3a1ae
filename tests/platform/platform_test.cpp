// The platform's files as the change log counts on them, the same on every system: a file that
// a reader has open is renamed (the log set aside) and removed by another hand.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_files.h"

namespace tavrel::testing {
namespace {

TEST(Platform, AFileOpenForReadingIsRenamedAndRemoved) {
    TempDir dir;
    const std::string log = dir.file("game.bin.tavrel-log"), aside = log + ".1";
    writeWholeFile(log, std::string("log"));
    sys::File reader;
    ASSERT_TRUE(sys::File::open(log, sys::Access::Read, reader).ok());
    EXPECT_TRUE(sys::replace(log, aside).ok());
    EXPECT_TRUE(sys::remove(aside).ok());
}

}  // namespace
}  // namespace tavrel::testing
