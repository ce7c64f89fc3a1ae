// A flag being edited: colour changes snap and keep bit 15, the drawing stays until the type
// changes, a team without a palette takes only a type; and the pixels a draft is drawn with.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/flag_draft.h"

namespace tavrel {
namespace {

TEST(FlagRenderer, WordsShowAsSnappedBackAndBlack0000IsTransparent) {
    EXPECT_EQ(pixelOf(0x0000), (Rgba8{0, 0, 0, 0}));
    EXPECT_EQ(pixelOf(0x8000), (Rgba8{0, 0, 0, 255}));
    EXPECT_EQ(pixelOf(0x7000 | 7 << 5 | 3), (Rgba8{25, 58, 230, 255}));
}

TEST(FlagRenderer, EachPixelBecomesAWholeBlock) {
    const ColourMap map = mapColours(catalogDrawing(109));  // Pitch and ball
    const FlagPicture one = paintFlag(map, catalogFlag(109));
    const FlagPicture three = paintFlag(map, catalogFlag(109), 3);
    ASSERT_EQ(three.width, 3 * one.width);
    ASSERT_EQ(three.height, 3 * one.height);
    for (int y = 0; y < three.height; ++y) {
        for (int x = 0; x < three.width; ++x) ASSERT_EQ(three.at(x, y), one.at(x / 3, y / 3));
    }
    EXPECT_EQ(one.at(28, 14).alpha, 0) << "the ball's colour 8 is 0000";
    EXPECT_THROW(paintFlag(map, catalogFlag(109), 0), std::out_of_range);
    EXPECT_THROW(paintFlag(map, catalogFlag(109), kMaxScale + 1), std::out_of_range);
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

}  // namespace
}  // namespace tavrel
