// Choosing a team shows its stored name, decoded from the game's 2-byte character codes.
#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "layout/game_layout.h"
#include "layout/team_table.h"

namespace tavrel::testing {
namespace {

TEST_F(EditorTest, ChoosingATeamShowsItsStoredName) {
    const std::pair<int, const char*> cases[] = {
        {0, "Ireland"},             // 14 bytes, 7 letters
        {kPortugalIndex, "Portu"},  // 4 + 6 bytes from two sectors
        {35, "S. Af "},             // a blank widened to a unit; the cut last letter shows blank
        {53, "Austral"},
    };
    for (const auto& [team, name] : cases) {
        window.chooseTeam(team);
        editor.onTeamChosen();
        EXPECT_EQ(window.nameBox, name) << team;
    }
    EXPECT_TRUE(window.salvaEnabled);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(image(), pristineImage()) << "choosing reads only";
}

TEST_F(EditorTest, NamesDecodeBlanksAndOddLengthsAsTheGameStoresThem) {
    struct Case {
        int team;
        Bytes stored;
        const char* shown;
    };
    const Case cases[] = {
        // Only the first single-byte blank is widened; the later one pairs with the next byte.
        {42, {0x82, 0x60, 0x20, 0x82, 0x81, 0x20, 0x82, 0x82}, "A a  "},
        {42, {0x20, 0x82, 0x60, 0x82, 0x61, 0x82, 0x62, 0x81}, " ABC "},
        // 11 bytes: with a blank they widen to 6 units, without one the last byte is a blank.
        {85, {0x82, 0x61, 0x82, 0x8F, 0x82, 0x83, 0x82, 0x81, 0x20, 0x82, 0x69}, "Boca J"},
        {85, {0x82, 0x61, 0x82, 0x8F, 0x82, 0x83, 0x82, 0x81, 0x82, 0x8A, 0x82}, "Bocaj "},
        // Digits, the full-width space and unknown codes show as blanks.
        {2, {0x82, 0x4F, 0x81, 0x40, 0x82, 0x80, 0x81, 0x44, 0x82, 0x79}, "   .Z"},
    };
    for (const Case& c : cases) {
        build::RawImageBuilder builder(pristineImage());
        builder.setNameBytes(c.team, c.stored);
        window.dialogAnswers.push_back(writeImage("names.bin", builder.bytes()));
        editor.onOpenImage();
        window.chooseTeam(c.team);
        editor.onTeamChosen();
        EXPECT_EQ(window.nameBox, c.shown) << c.team;
    }
}

TEST_F(EditorTest, ChoosingTwiceShowsTheNameOnce) {
    window.chooseTeam(3);
    editor.onTeamChosen();
    editor.onTeamChosen();
    EXPECT_EQ(window.nameBox, "England");
}

TEST_F(EditorTest, AnIndexWithoutATeamReadsNothing) {
    editor.onClose();  // any read would now report that no image is open
    window.nameBox = "old";
    for (const int index : {-1, 86}) {
        window.teamIndex = index;
        editor.onTeamChosen();
        EXPECT_EQ(window.nameBox, "");
        EXPECT_TRUE(window.salvaEnabled);
    }
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(EditorTest, ANameBeyondTheEndOfAShortImageIsReported) {
    const Bytes& full = pristineImage();
    window.dialogAnswers.push_back(
        writeImage("short.bin", Bytes(full.begin(), full.begin() + 2003000)));
    editor.onOpenImage();
    window.chooseTeam(0);
    editor.onTeamChosen();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(window.nameBox, "");
}

}  // namespace
}  // namespace tavrel::testing
