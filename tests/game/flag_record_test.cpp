// A flag's values: what a .flg line must be to be written into an image, and its one spelling;
// colour words, how a chosen colour is snapped and a word shown, and the word's text. (What the
// stored bytes mean: the flag window's and the catalog's tests, which show and draw them.)
#include <gtest/gtest.h>

#include <algorithm>

#include "game/colour_word.h"
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

TEST(ColourWord, EveryChannelSnapsAndShowsAtTheNearestLevel) {
    // 8 to 5 bits is c·31/255 correctly rounded: never more than half a level off. No integer
    // c lies exactly halfway, so there is one answer for each.
    for (int c = 0; c < 256; ++c) {
        const int level = snapChannel(static_cast<std::uint8_t>(c));
        EXPECT_LE(std::abs(31 * c - 255 * level), 127) << c;
    }
    // 5 to 8 bits is v·255/31 correctly rounded, so 31 shows as 255; each level snaps back to
    // itself and keeps its value in the top five bits.
    for (int v = 0; v < 32; ++v) {
        const std::uint8_t shown = displayChannel(static_cast<std::uint8_t>(v));
        EXPECT_LE(std::abs(255 * v - 31 * shown), 15) << v;
        EXPECT_EQ(snapChannel(shown), v);
        EXPECT_EQ(shown >> 3, v);
    }
    // A chosen colour keeps the word's bit 15.
    EXPECT_EQ(recoloured(0xF7BD, {255, 0, 0}), 0x801F);
    EXPECT_EQ(recoloured(0x7FFF, {0, 0, 0}), kTransparentWord);
    EXPECT_EQ(recoloured(0x0000, {4, 5, 250}), 0x7820);  // 4 rounds down, 5 up, 250 to 30
}

TEST(ColourWord, TextsAreWholeOrRefused) {
    EXPECT_EQ(parseRgbText("#0a0B0c"), (Rgb8{10, 11, 12}));
    EXPECT_EQ(parseWordText("f7bd"), 0xF7BD);
    EXPECT_EQ(wordText(0x0A0B), "0A0B");
    for (const char* rgb :
         {"", "#", "FF8000", "#FF800", "#FF80000", "#GG8000", "#-F8000", "#+F8000"})
        EXPECT_FALSE(parseRgbText(rgb)) << rgb;
    for (const char* word : {"", "800", "80000", "0x80", "+800", "-800", "80 0"})
        EXPECT_FALSE(parseWordText(word)) << word;
}

}  // namespace
}  // namespace tavrel
