// The flag record: what a .flg line must be to be written into an image, and its one spelling.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/flag_record.h"

namespace tavrel {
namespace {

const std::string kRecord =
    "1C00 80 00 80 1B 80 1B 80 3F 83 3F 83 00 80 00 80 00 80 1B 80 1B 80 1B 80 3F 83 3F 83 3F 83";

std::string changed(std::size_t at, const std::string& text, std::size_t erase = 1) {
    std::string record = kRecord;
    return record.replace(at, erase, text);
}

TEST(FlagRecord, AcceptsOnlyAWholeRecordAndSaysWhereItIsWrong) {
    using Expected = RecordError::Expected;
    struct Case {
        std::string text;
        Expected expected;
        std::size_t column;
    };
    const Case refused[] = {
        {"", Expected::MoreText, 0},
        {kRecord.substr(0, 90), Expected::MoreText, 90},
        {changed(1, "G"), Expected::HexDigit, 1},  // the type's second digit
        {changed(0, " "), Expected::HexDigit, 0},
        {changed(41, "G"), Expected::HexDigit, 41},
        {changed(4, "A"), Expected::Blank, 4},      // a missing blank
        {changed(4, "  "), Expected::HexDigit, 5},  // a doubled one
        {changed(11, std::string(1, '\0')), Expected::HexDigit, 11},
        {changed(90, "+"), Expected::HexDigit, 90},
    };
    for (const Case& c : refused) {
        const ParsedRecord parsed = parseFlagRecord(c.text);
        EXPECT_FALSE(parsed.flag) << c.text;
        EXPECT_EQ(parsed.error.expected, c.expected) << c.text;
        EXPECT_EQ(parsed.error.column, c.column) << c.text;
    }

    std::string lower = kRecord;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    for (const std::string& text : {kRecord, kRecord + " ", lower, kRecord + " words"}) {
        const ParsedRecord parsed = parseFlagRecord(text);
        ASSERT_TRUE(parsed.flag) << text;
        EXPECT_EQ(formatFlagRecord(*parsed.flag), kRecord);
    }
    EXPECT_EQ(parseFlagRecord(kRecord).flag->type, 0x1C);
    EXPECT_EQ(parseFlagRecord(kRecord).flag->palette[2], 0x00);
    EXPECT_EQ(parseFlagRecord(kRecord).flag->palette[3], 0x80);
}

}  // namespace
}  // namespace tavrel
