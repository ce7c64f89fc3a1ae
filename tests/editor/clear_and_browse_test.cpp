// Catalog browsing and Clear: the window's state, never the image.
#include <gtest/gtest.h>

#include "editor/messages.h"
#include "editor_fixture.h"

namespace tavrel::testing {
namespace {

TEST_F(EditorTest, BrowsingStopsAtBothEndsAndRedrawsEveryClick) {
    const int loads = window.previewLoads;
    editor.onBack();
    EXPECT_EQ(editor.state().catalogId, 101);
    EXPECT_EQ(window.positionLabelText, "1");
    EXPECT_EQ(window.previewLoads, loads + 1);
    for (int i = 0; i < 134; ++i) editor.onNext();
    EXPECT_EQ(editor.state().catalogId, 235);
    EXPECT_EQ(window.positionLabelText, "135");
    EXPECT_EQ(window.previewId, 235);
    editor.onNext();
    EXPECT_EQ(editor.state().catalogId, 235);
    EXPECT_EQ(editor.state().catalogPosition, 135);
    EXPECT_EQ(window.previewLoads, loads + 136);
    editor.onBack();
    EXPECT_EQ(window.positionLabelText, "134");
    EXPECT_EQ(window.previewId, 234);
}

TEST_F(EditorTest, ClearReturnsTheWindowToItsStartButKeepsTheImage) {
    while (editor.state().catalogId < 235) editor.onNext();
    window.chooseTeam(10);
    editor.onTeamChosen();
    editor.onSalva();
    const Bytes saved = image();
    const EditorState working = editor.state();
    editor.onClear();
    editor.onClear();
    EXPECT_EQ(editor.state().pendingRecord, working.pendingRecord);
    EXPECT_EQ(editor.state().storedTypeCode, working.storedTypeCode);
    EXPECT_EQ(editor.state().palettePosition, working.palettePosition);
    EXPECT_EQ(editor.state().netPattern, working.netPattern);
    EXPECT_TRUE(window.pairing.empty());
    EXPECT_EQ(window.teamIndex, -1);
    EXPECT_EQ(window.teamText, "");
    EXPECT_EQ(window.nameBox, "");
    EXPECT_EQ(window.positionLabelText, "1");
    EXPECT_EQ(window.previewId, 101);
    EXPECT_EQ(window.netOption, NetOption::Normali);
    EXPECT_TRUE(window.salvaEnabled);
    EXPECT_EQ(image(), saved);
    editor.onNext();
    EXPECT_EQ(window.previewId, 102);
    EXPECT_EQ(window.positionLabelText, "2");
}

TEST_F(EditorTest, TheCatalogDoesNotFollowTheTeam) {
    editor.onNext();
    window.chooseTeam(5);
    editor.onTeamChosen();
    editor.onSalva();
    editor.onExport();
    EXPECT_EQ(editor.state().catalogId, 102);
    EXPECT_EQ(window.positionLabelText, "2");
}

}  // namespace
}  // namespace tavrel::testing
