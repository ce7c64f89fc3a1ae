// Colour words: what the stored bytes mean, how a chosen colour is snapped and a word shown,
// and the word's text.
#include <gtest/gtest.h>

#include "game/colour_word.h"

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
    // A chosen colour keeps the word's bit 15.
    EXPECT_EQ(recoloured(0xF7BD, {255, 0, 0}), 0x801F);
    EXPECT_EQ(recoloured(0x7FFF, {0, 0, 0}), kTransparentWord);
    EXPECT_EQ(recoloured(0x0000, {4, 5, 250}), 0x7820);  // 4 rounds down, 5 up, 250 to 30
}

TEST(ColourWord, StoredBytesReadLowByteFirst) {
    Flag flag;
    setColourWord(flag, 15, 0xF7BD);  // "BD F7" in a record: light grey with bit 15
    EXPECT_EQ(flag.palette[28], 0xBD);
    EXPECT_EQ(flag.palette[29], 0xF7);
    EXPECT_EQ(colourWord(flag, 15), 0xF7BD);
    const std::tuple<std::uint16_t, Rgb5, bool> words[] = {
        {0x001F, {31, 0, 0}, false},   // red
        {0x7C00, {0, 0, 31}, false},   // blue
        {0xF7BD, {29, 29, 29}, true},  // light grey
        {0x8000, {0, 0, 0}, true},     // the black that shows
    };
    for (const auto& [word, colour, flagBit] : words) {
        EXPECT_EQ(colourOf(word), colour) << wordText(word);
        EXPECT_EQ(flagBitOf(word), flagBit) << wordText(word);
        EXPECT_EQ(wordOf(colour, flagBit), word) << wordText(word);
    }
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
