// A flag being edited: colour changes snap and keep bit 15, the drawing stays until the type
// changes, a team without a palette takes only a type; the pixels a draft is drawn with; and
// which designs a flag is (the equal ones, or the nearest of its type) and how far apart two
// flags' colours are.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/flag_draft.h"
#include "catalog/flag_match.h"
#include "game/colour_word.h"

namespace tavrel {
namespace {

TEST(FlagRenderer, WordsShowAsSnappedBackAndBlack0000IsTransparent) {
    EXPECT_EQ(pixelOf(0x0000), (Rgba8{0, 0, 0, 0}));
    EXPECT_EQ(pixelOf(0x8000), (Rgba8{0, 0, 0, 255}));
    EXPECT_EQ(pixelOf(0x7000 | 7 << 5 | 3), (Rgba8{25, 58, 230, 255}));
}

TEST(FlagDraft, ColoursChangeUnderAFixedDrawingThatFollowsTheType) {
    FlagDraft draft = FlagDraft::ofDesign(210);  // Hungary, the same record as Italy (182)
    EXPECT_EQ(draft.match().equalDesigns, (std::vector<int>{182, 210}));
    ASSERT_TRUE(draft.setColour(1, {255, 0, 0}));  // 2240: bit 15 clear
    ASSERT_TRUE(draft.toggleFlagBit(1));
    ASSERT_TRUE(draft.setColour(1, {0, 0, 0}));
    EXPECT_EQ(draft.word(1), kOpaqueBlackWord) << "bit 15 stays";
    EXPECT_EQ(draft.match().nearestDesign, 182);

    // Every colour Kuwait's: the draft now is design 199, and is still drawn as 210.
    const Flag kuwait = catalogFlag(199);
    for (int k = 1; k <= kColourCount; ++k) ASSERT_TRUE(draft.setWord(k, colourWord(kuwait, k)));
    EXPECT_EQ(draft.match().equalDesigns, std::vector<int>{199});
    EXPECT_EQ(draft.drawingDesign(), 210);
    EXPECT_TRUE(draft.picture(4)->pixels ==
                paintFlag(mapColours(catalogDrawing(210)), kuwait, 4).pixels);

    draft.setType(0x07);  // drawn as the nearest design of the new type
    EXPECT_EQ(draft.drawingDesign(), 224);
    draft.setType(0x0D);  // no design has it: nothing to draw
    EXPECT_FALSE(draft.picture());
    draft.setType(0x0B);
    EXPECT_EQ(draft.drawingDesign(), 199);
}

TEST(FlagDraft, ATeamWithoutAPaletteTakesOnlyAType) {
    FlagDraft parma = FlagDraft::ofDesign(158, 76);
    EXPECT_EQ(parma.type(), 0x38) << "the game's one exception";
    const Flag before = parma.flag();
    EXPECT_FALSE(parma.setColour(2, {1, 2, 3}) || parma.setWord(2, 0x1234) ||
                 parma.toggleFlagBit(2));
    EXPECT_EQ(parma.flag(), before);
    EXPECT_FALSE(parma.picture());
    EXPECT_FALSE(FlagDraft::ofFlag(catalogFlag(105), 59).coloursEditable());  // Newcastle
    EXPECT_TRUE(FlagDraft::ofFlag(catalogFlag(105), 0).coloursEditable());
}

// `flag` with colour k's word replaced (k 0: none) and, where given, another type.
Flag changed(Flag flag, int k, std::uint16_t word, std::optional<std::uint8_t> type = {}) {
    if (k > 0)
        setColourWord(flag, k, word);
    flag.type = type.value_or(flag.type);
    return flag;
}

TEST(FlagMatch, EqualDesignsOrTheNearestOfTheSameTypeByColoursAlone) {
    struct Case {
        const char* what;
        Flag flag;
        std::vector<int> equal;
        std::optional<int> nearest;
    };
    const Flag italy = catalogFlag(182);
    const Case cases[] = {
        {"a design; 182 and 210 hold the same record", catalogFlag(210), {182, 210}, {}},
        {"a design whose record is its own", catalogFlag(199), {199}, {}},
        // Bit 15 changes no colour: 182 and 210 are both at distance 0, the lower wins.
        {"bit 15 changed", changed(italy, 3, colourWord(italy, 3) ^ kFlagBit), {}, 182},
        {"one colour a little off", changed(catalogFlag(111), 5, 0x0C3A), {}, 111},
        {"Kuwait's colours, type 07", changed(catalogFlag(199), 0, 0, 0x07), {}, 224},
        // Japan with a black colour 5 lies nearer England by squares (690 against 712), though
        // nearer Japan by plain differences (48 against 32).
        {"the distance squares", changed(catalogFlag(113), 5, 0x0000), {}, 168},
        {"a type no design has", changed(italy, 0, 0, 0x0D), {}, {}},
    };
    for (const Case& c : cases) {
        const FlagMatch match = matchFlag(c.flag);
        EXPECT_EQ(match.equalDesigns, c.equal) << c.what;
        EXPECT_EQ(match.nearestDesign, c.nearest) << c.what;
    }
    // The distance counts colours, not bit 15. Italy's colour 1 is 2240: 0, 18, 8.
    EXPECT_EQ(colourDistance(italy, changed(italy, 1, 0x2240 ^ kFlagBit)), 0);
    EXPECT_EQ(colourDistance(italy, changed(italy, 1, 0x0000)), 18 * 18 + 8 * 8);
}

}  // namespace
}  // namespace tavrel
