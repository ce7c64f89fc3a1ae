// Saves, imports, net changes and exports whose writes, syncs or locks fail on the way, through
// the preload fault shim: the image ends as it was, or the message names what may have changed.
// Salva and Ctrl+Z with the power cut at each file call they make (power_cut_sweep.h).
#include <filesystem>

#include "editor/messages.h"
#include "editor_fixture.h"
#include "fault_injection.h"
#include "power_cut_sweep.h"

namespace tavrel::testing {
namespace {

const std::string kRestored = " Nulla è stato modificato: l'immagine è com'era prima.";

class FaultTest : public EditorTest {
protected:
    void SetUp() override {
        ASSERT_GE(FaultInjection::calls(), 0) << "run with the fault shim preloaded";
        EditorTest::SetUp();
    }

    // The pristine image, opened again with a new change log, and team 13 chosen.
    void freshImage() {
        editor.onClose();
        writeWholeFile(imagePath, pristineImage());
        std::filesystem::remove(ChangeLog::pathFor(imagePath));
        open(imagePath);
        choose(13);
        window.messages.clear();
    }
};

TEST_F(FaultTest, AFailingWriteLeavesTheImageAsItWas) {
    // A save of team 13 into an image without a change log yet: the log's header and the save's
    // record written and synced; the five type-table copies, each with its sector's new
    // checksums, and the palette's two runs across a sector end with both sectors' checksums,
    // six writes in all, and their sync; the record marked done. Only a failing write into the
    // image fails the save; a log that cannot be written gives way to it.
    int failed = 0;
    for (int k = 1; k <= 10; ++k) {
        freshImage();
        FaultInjection fault("pwrite " + std::to_string(k) + " EIO");
        editor.onSave();
        const std::string message = window.takeMessage();
        if (message == text::kSaveDone) {
            EXPECT_EQ(image(), withFlag(pristineImage(), 13, catalogFlag(101))) << k;
            continue;
        }
        ++failed;
        EXPECT_NE(message.find(kRestored), std::string::npos) << k << ": " << message;
        ASSERT_EQ(image(), pristineImage()) << k;
    }
    EXPECT_EQ(failed, 6);
    {
        freshImage();
        FaultInjection fault("pwrite 5 ENOSPC");
        editor.onSave();
        EXPECT_EQ(window.takeMessage(),
                  "Scrittura dell'immagine non riuscita a offset 0x2385FC: No space left on "
                  "device." +
                      kRestored);
    }
    freshImage();
    FaultInjection counting("pwrite,fdatasync 0 none");
    editor.onSave();
    EXPECT_EQ(window.takeMessage(), text::kSaveDone);
    EXPECT_EQ(FaultInjection::calls(), 11) << "nine writes, a sync of the log and one of the image";
}

TEST_F(FaultTest, AFailingSyncOfTheImageLeavesItAsItWas) {
    const std::function<void()> operations[] = {
        [&] { editor.onSave(); },
        [&] {
            editor.onDiamondNetsChosen();
            editor.onApplyNets();
        },
    };
    for (const auto& operation : operations) {
        freshImage();
        FaultInjection fault("fdatasync 2 EIO");  // the image's, after the log's
        operation();
        EXPECT_EQ(window.takeMessage(),
                  "Impossibile completare la scrittura dell'immagine su disco: Input/output "
                  "error." +
                      kRestored);
        ASSERT_EQ(image(), pristineImage());
    }
}

TEST_F(FaultTest, WhatCouldNotBeRestoredIsNamed) {
    FaultInjection fault("pwrite 4+ EIO");  // the log's header and record, the first copy pass
    choose(13);
    editor.onSave();
    EXPECT_EQ(window.takeMessage(),
              "Scrittura dell'immagine non riuscita a offset 0x1E99A4: Input/output error. Non è "
              "stato possibile ripristinare l'immagine: controlla i byte a offset 0x1D6F39, "
              "0x1D75D8–0x1D76E5, 0x1E99B1, 0x1E9BD8–0x1E9CE5.");
}

TEST_F(FaultTest, AFailedExportLeavesNoFileBehind) {
    FaultInjection fault("syncfs 1 EIO");
    choose(13);
    editor.onExport();
    EXPECT_EQ(window.messages.at(0).icon, MessageIcon::Critical);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "game.bin";
}

TEST_F(FaultTest, OnlyALockHeldElsewhereRefusesAnImage) {
    const std::pair<const char*, bool> cases[] = {
        {"ENOLCK", true}, {"EOPNOTSUPP", true}, {"EWOULDBLOCK", false}};
    for (const auto& [error, opens] : cases) {
        const std::string path = writeImage("other.bin", pristineImage());
        FakeWindow other;
        FlagEditor second(other);
        other.events = &second;
        other.dialogAnswers.push_back(path);
        {
            FaultInjection fault(std::string("flock 1 ") + error);
            EXPECT_EQ(second.startUp(), opens ? std::nullopt : std::optional<int>(1)) << error;
        }
        other.choose("teamList", 13);
        other.click("saveButton");
        if (opens) {
            EXPECT_EQ(readWholeFile(path), withFlag(pristineImage(), 13, catalogFlag(101)));
        }
    }
}

TEST_F(FaultTest, ASaveAndItsUndoLeaveTheImageWholeAndTheHistoryTrueAtAnyPowerCut) {
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

// The log is kept aside all the same, without a word: the user put the copy there.
TEST_F(FaultTest, AFreshCopyOverALoggedImageOpensWithoutAWord) {
    choose(13);
    editor.onSave();
    editor.onClose();
    writeWholeFile(imagePath, pristineImage());
    window.messages.clear();
    open(imagePath);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(ChangeLog::pathFor(imagePath) + ".1"));
}

}  // namespace
}  // namespace tavrel::testing
