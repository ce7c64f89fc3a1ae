// Colour words: what the stored bytes mean, how a chosen colour is snapped and a word shown,
// and the word's text.
#include <gtest/gtest.h>

#include "game/colour_word.h"
#include "game/flag_record.h"

namespace tavrel {
namespace {

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
}

TEST(ColourWord, StoredBytesReadLowByteFirst) {
    struct Case {
        std::uint8_t low, high;
        Rgb5 colour;
        bool flagBit;
        const char* text;
    };
    const Case cases[] = {
        {0x1F, 0x00, {31, 0, 0}, false, "001F"},    // red
        {0x00, 0x7C, {0, 0, 31}, false, "7C00"},    // blue
        {0xDE, 0x03, {30, 30, 0}, false, "03DE"},   // yellow
        {0xBD, 0xF7, {29, 29, 29}, true, "F7BD"},   // light grey
        {0xFF, 0x7F, {31, 31, 31}, false, "7FFF"},  // white
        {0x00, 0x80, {0, 0, 0}, true, "8000"},      // the black that shows
        {0x00, 0x00, {0, 0, 0}, false, "0000"},     // transparent
    };
    for (const Case& c : cases) {
        Flag flag;
        flag.palette[28] = c.low;  // colour 15
        flag.palette[29] = c.high;
        const std::uint16_t word = colourWord(flag, 15);
        EXPECT_EQ(colourOf(word), c.colour) << c.text;
        EXPECT_EQ(flagBitOf(word), c.flagBit) << c.text;
        EXPECT_EQ(isTransparent(word), c.low == 0 && c.high == 0) << c.text;
        EXPECT_EQ(wordText(word), c.text);
        EXPECT_EQ(parseWordText(c.text), word);
        EXPECT_EQ(wordOf(c.colour, c.flagBit), word) << c.text;

        Flag written;
        setColourWord(written, 15, word);
        EXPECT_EQ(written, flag) << c.text;
    }
}

TEST(ColourWord, AChosenColourKeepsTheWordsBit15) {
    EXPECT_EQ(recoloured(0xF7BD, {255, 0, 0}), 0x801F);
    EXPECT_EQ(recoloured(0x7FFF, {0, 0, 0}), kTransparentWord);
    EXPECT_EQ(recoloured(0x8000, {0, 0, 255}), 0xFC00);
    EXPECT_EQ(recoloured(0x0000, {4, 5, 250}), 0x7820);  // 4 rounds down, 5 up, 250 to 30
}

TEST(ColourWord, TextsAreWholeOrRefused) {
    EXPECT_EQ(parseRgbText("#FF8000"), (Rgb8{255, 128, 0}));
    EXPECT_EQ(parseRgbText("#0a0B0c"), (Rgb8{10, 11, 12}));
    EXPECT_EQ(parseWordText("f7bd"), 0xF7BD);
    for (const char* rgb :
         {"", "#", "FF8000", "#FF800", "#FF80000", "#GG8000", "#-F8000", "#+F8000", "# F8000"})
        EXPECT_FALSE(parseRgbText(rgb)) << rgb;
    for (const char* word : {"", "800", "80000", "0x80", "+800", "-800", "80 0", "800G"})
        EXPECT_FALSE(parseWordText(word)) << word;
}

TEST(ColourWord, OnlyColours1To15Exist) {
    Flag flag;
    for (const int k : {0, 16, -1}) {
        EXPECT_THROW(colourWord(flag, k), std::out_of_range) << k;
        EXPECT_THROW(setColourWord(flag, k, 0), std::out_of_range) << k;
    }
}

}  // namespace
}  // namespace tavrel
