// A flag being edited: colour changes snap and keep bit 15, the drawing stays until the type
// changes, a team without a palette takes only a type; and the pixels a draft is drawn with.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/flag_draft.h"

namespace tavrel {
namespace {

constexpr int kParma = 76;
constexpr int kNewcastle = 59;

TEST(FlagRenderer, WordsShowAsSnappedBackAndBlack0000IsTransparent) {
    const std::pair<std::uint16_t, Rgba8> cases[] = {
        {0x0000, {0, 0, 0, 0}},      {0x8000, {0, 0, 0, 255}},
        {0x801F, {255, 0, 0, 255}},  {0x7FFF, {255, 255, 255, 255}},
        {0x0C63, {25, 25, 25, 255}}, {0x7000 | 7 << 5, {0, 58, 230, 255}},
    };
    for (const auto& [word, pixel] : cases) EXPECT_EQ(pixelOf(word), pixel) << wordText(word);
}

TEST(FlagRenderer, EachPixelBecomesAWholeBlockOfItsColour) {
    // Pitch and ball: the ball's colour 8 is 0000, drawn transparent.
    const ColourMap map = mapColours(catalogDrawing(109));
    const Flag flag = catalogFlag(109);
    const FlagPicture picture = paintFlag(map, flag, 3);
    ASSERT_EQ(picture.width, 3 * map.width);
    ASSERT_EQ(picture.height, 3 * map.height);
    int transparent = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int k = map.at(x / 3, y / 3);
            ASSERT_EQ(picture.at(x, y), pixelOf(colourWord(flag, k))) << x << "," << y;
            transparent += picture.at(x, y).alpha == 0;
        }
    }
    EXPECT_GT(transparent, 0);
    EXPECT_THROW(paintFlag(map, flag, 0), std::out_of_range);
    EXPECT_THROW(paintFlag(map, flag, kMaxScale + 1), std::out_of_range);
}

TEST(FlagDraft, ColoursChangeUnderAFixedDrawingThatFollowsTheType) {
    FlagDraft draft = FlagDraft::ofDesign(210);  // Hungary, the same record as Italy (182)
    EXPECT_EQ(draft.match().equalDesigns, (std::vector<int>{182, 210}));
    EXPECT_EQ(draft.drawingDesign(), 210);

    ASSERT_TRUE(draft.setColour(1, {255, 0, 0}));  // 2240: bit 15 clear
    EXPECT_EQ(draft.word(1), 0x001F);
    ASSERT_TRUE(draft.toggleFlagBit(1));
    EXPECT_EQ(draft.word(1), 0x801F);
    ASSERT_TRUE(draft.setColour(1, {0, 0, 0}));
    EXPECT_EQ(draft.word(1), kOpaqueBlackWord) << "bit 15 stays";
    EXPECT_TRUE(draft.match().equalDesigns.empty());
    EXPECT_EQ(draft.match().nearestDesign, 182);

    // Every colour Kuwait's: the draft now is design 199, and is still drawn as 210.
    const Flag kuwait = catalogFlag(199);
    for (int k = 1; k <= kColourCount; ++k) ASSERT_TRUE(draft.setWord(k, colourWord(kuwait, k)));
    EXPECT_EQ(draft.flag(), kuwait);
    EXPECT_EQ(draft.match().equalDesigns, std::vector<int>{199});
    EXPECT_EQ(draft.drawingDesign(), 210);
    const FlagPicture picture = *draft.picture(4);
    EXPECT_TRUE(picture.pixels == paintFlag(mapColours(catalogDrawing(210)), kuwait, 4).pixels);

    draft.setType(0x07);  // drawn as the nearest design of the new type
    EXPECT_EQ(draft.drawingDesign(), 224);
    EXPECT_EQ(draft.picture()->width, catalogDrawing(224).width);
    draft.setType(0x0D);  // no design has it: nothing to draw
    EXPECT_EQ(draft.drawingDesign(), std::nullopt);
    EXPECT_FALSE(draft.picture());
    draft.setType(0x0B);
    EXPECT_EQ(draft.drawingDesign(), 199);
    EXPECT_TRUE(draft.picture()->pixels ==
                paintFlag(mapColours(catalogDrawing(199)), kuwait).pixels);
}

TEST(FlagDraft, ATeamWithoutAPaletteTakesOnlyAType) {
    FlagDraft parma = FlagDraft::ofDesign(158, kParma);
    EXPECT_EQ(parma.type(), 0x38) << "the game's one exception";
    EXPECT_EQ(FlagDraft::ofDesign(158, kParma - 1).type(), 0x0A);
    const Flag before = parma.flag();
    EXPECT_FALSE(parma.coloursEditable());
    EXPECT_FALSE(parma.setColour(2, {1, 2, 3}));
    EXPECT_FALSE(parma.setWord(2, 0x1234));
    EXPECT_FALSE(parma.toggleFlagBit(2));
    EXPECT_EQ(parma.flag(), before);
    EXPECT_FALSE(parma.picture());
    EXPECT_TRUE(parma.match().equalDesigns.empty());
    parma.setType(0x0A);
    EXPECT_EQ(parma.type(), 0x0A);
    EXPECT_FALSE(parma.picture());

    const FlagDraft newcastle = FlagDraft::ofFlag(catalogFlag(105), kNewcastle);
    EXPECT_FALSE(newcastle.coloursEditable());
    EXPECT_EQ(newcastle.drawingDesign(), std::nullopt);
    EXPECT_TRUE(FlagDraft::ofFlag(catalogFlag(105), 0).coloursEditable());
}

}  // namespace
}  // namespace tavrel
