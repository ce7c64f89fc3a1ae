// The window's Salva and then Ctrl+Z, through the editor and the scripted window, with the power
// cut at each file call they make and after them (power_cut_sweep.h).
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "editor/flag_editor.h"
#include "editor/messages.h"
#include "fake_window.h"
#include "fault_injection.h"
#include "power_cut_sweep.h"
#include "test_files.h"
#include "test_image.h"

namespace tavrel::testing {
namespace {

TEST(EditorPowerCut, ASaveAndItsUndoLeaveTheImageWholeAndTheHistoryTrue) {
    if (FaultInjection::calls() < 0)
        GTEST_SKIP() << "runs with the fault shim preloaded";
    TempDir dir;
    const std::string image = dir.file("game.bin");
    writeWholeFile(image, pristineImage());
    const auto saveThenUndo = [&] {
        FakeWindow window;
        FlagEditor editor(window);
        window.dialogAnswers.push_back(image);
        editor.startUp();
        window.chooseTeam(13);
        editor.onTeamChosen();
        editor.onSave();
        editor.onUndo();
        Outcome outcome;
        for (const RecordedMessage& message : window.messages) outcome.said += message.text + "\n";
        const bool done = window.messages.size() == 2 &&
                          window.messages[0].text == text::kSaveDone &&
                          window.messages[1].text.starts_with(text::kUndoDone);
        outcome.status = done ? 0 : 1;
        return outcome;
    };
    const SweepCount count = sweepPowerCuts(
        {image, saveThenUndo, {withFlag(pristineImage(), 13, catalogFlag(101))}, 2, ""});
    std::printf("Salva, Ctrl+Z: %d cut points, %d cases\n", count.cuts, count.cases);
    EXPECT_GE(count.cuts, 20);
}

}  // namespace
}  // namespace tavrel::testing
