// The window and the image's change log: Salva and Ctrl+Z with the power cut at each file call
// they make (power_cut_sweep.h); what opening tells of a log a fresh copy no longer fits, and why
// Ctrl+Z stops where a damaged log lost a change.
#include <filesystem>

#include "catalog/catalog.h"
#include "editor/messages.h"
#include "editor_fixture.h"
#include "fault_injection.h"
#include "power_cut_sweep.h"

namespace tavrel::testing {
namespace {

class ChangeLogTest : public EditorTest {
protected:
    // Two saves into the same team, then the image opened again after `change` to its files.
    void saveTwiceAndReopen(const std::function<void()>& change) {
        choose(13);
        editor.onSave();
        editor.onNext();
        editor.onSave();
        editor.onClose();
        change();
        window.messages.clear();
        window.dialogAnswers.push_back(imagePath);
        editor.onOpenImage();
    }
    std::string log() const { return ChangeLog::pathFor(imagePath); }
};

TEST_F(ChangeLogTest, ASaveAndItsUndoLeaveTheImageWholeAndTheHistoryTrueAtAnyPowerCut) {
    ASSERT_GE(FaultInjection::calls(), 0) << "run with the fault shim preloaded";
    editor.onClose();
    const auto saveThenUndo = [&] {
        FakeWindow window;
        FlagEditor editor(window);
        window.events = &editor;
        window.dialogAnswers.push_back(imagePath);
        editor.startUp();
        window.choose("teamList", 13);
        window.click("saveButton");
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
        {imagePath, saveThenUndo, {withFlag(pristineImage(), 13, catalogFlag(101))}, 2, ""});
    std::printf("Salva, Ctrl+Z: %d cut points, %d cases\n", count.cuts, count.cases);
    EXPECT_GE(count.cuts, 20);
}

TEST_F(ChangeLogTest, AFreshCopyOverALoggedImageOpensWithoutAWord) {
    saveTwiceAndReopen([&] { writeWholeFile(imagePath, pristineImage()); });
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(log() + ".1")) << "the log is kept aside all the same";
}

TEST_F(ChangeLogTest, CtrlZSaysItStopsWhereADamagedLogLostAChange) {
    saveTwiceAndReopen([&] {
        Bytes damaged = readWholeFile(log());
        damaged[damaged.size() - 10] ^= 0x01;  // the second save's record
        writeWholeFile(log(), damaged);
    });
    EXPECT_EQ(window.takeMessage(), text::logDamaged(log() + ".1"));
    editor.onUndo();
    EXPECT_EQ(window.takeMessage(), text::kUndoStopsAtGap);
}

}  // namespace
}  // namespace tavrel::testing
