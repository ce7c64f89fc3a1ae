#include "image/byte_text.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(ByteText, WritesUpperCasePairsInBothForms) {
    struct Case {
        Bytes bytes;
        std::string spaced;
        std::string compact;
    };
    const Case cases[] = {
        {{}, "", ""},
        {{0x05}, "05 ", "05"},
        {{0xFF}, "FF ", "FF"},
        {{0x00, 0x65}, "00 65 ", "0065"},
        {{0x0A, 0xFF, 0xbd}, "0A FF BD ", "0AFFBD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toByteText(c.bytes), c.spaced);
        EXPECT_EQ(toCompactByteText(c.bytes), c.compact);
    }
}

TEST(ByteText, ReadsAnyTextLeniently) {
    struct Case {
        std::string text;
        Bytes bytes;
    };
    const Case cases[] = {
        {"00 65", {0x00, 0x65}},
        {"00 65 ", {0x00, 0x65}},
        {"0065", {0x00, 0x65}},
        {" 2 8 6 1 ", {0x28, 0x61}},  // blanks dropped wherever they stand
        {"ABC", {0xAB, 0x0C}},        // a last odd group is one digit
        {"6a", {0x6A}},
        {"7G", {0x07}},
        {"G7", {0x00}},
        {"zz12", {0x00, 0x12}},
        {"", {}},
        {"   ", {}},
        {"82 60 20 20", {0x82, 0x60, 0x20, 0x20}},
    };
    for (const Case& c : cases) EXPECT_EQ(fromByteText(c.text), c.bytes) << '"' << c.text << '"';
}

TEST(ByteText, EveryByteSurvivesTheRoundTrip) {
    for (int value = 0; value < 256; ++value) {
        const Bytes byte{static_cast<std::uint8_t>(value)};
        EXPECT_EQ(fromByteText(toByteText(byte)), byte);
        EXPECT_EQ(fromByteText(trimBlanks(toByteText(byte))), byte);
        EXPECT_EQ(fromByteText(toCompactByteText(byte)), byte);
    }
}

TEST(ByteText, TrimsOnlyOuterBlanks) {
    EXPECT_EQ(trimBlanks("00 65 "), "00 65");
    EXPECT_EQ(trimBlanks("  82 60  "), "82 60");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(trimBlanks("\t1 "), "\t1");
}

}  // namespace
}  // namespace tavrel
