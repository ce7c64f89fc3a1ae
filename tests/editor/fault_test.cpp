// Saves, imports, net changes and exports whose writes, syncs or locks fail on the way, through
// the preload fault shim: the image ends as it was, or the message names what may have changed.
#include "catalog/catalog.h"
#include "editor/messages.h"
#include "editor_fixture.h"
#include "fault_injection.h"
#include "game/flag_record.h"

namespace tavrel::testing {
namespace {

const std::string kRestored = " Nulla è stato modificato: l'immagine è com'era prima.";

class FaultTest : public EditorTest {
protected:
    void SetUp() override {
        ASSERT_GE(FaultInjection::calls(), 0) << "run with the fault shim preloaded";
        EditorTest::SetUp();
        writeWholeFile(dir.file("a.flg"), formatFlagRecord(unusualFlag()));
    }
};

TEST_F(FaultTest, AFailingWriteOrSyncLeavesTheImageAsItWas) {
    // Team 13: five type-table copies, then its palette in two runs across a sector end.
    for (int k = 1; k <= 7; ++k) {
        FaultInjection fault("pwrite " + std::to_string(k) + " EIO");
        choose(13);
        editor.onSalva();
        const std::string message = window.takeMessage();
        EXPECT_NE(message.find(kRestored), std::string::npos) << k << ": " << message;
        ASSERT_EQ(image(), pristineImage()) << k;
    }
    {
        FaultInjection fault("pwrite 3 ENOSPC");
        editor.onSalva();
        EXPECT_EQ(window.takeMessage(),
                  "Scrittura dell'immagine non riuscita a offset 0x2385FC: No space left on "
                  "device." +
                      kRestored);
    }
    const std::function<void()> operations[] = {
        [&] { editor.onSalva(); },
        [&] { importInto(13, dir.file("a.flg")); },
        [&] {
            editor.onRombiSelected();
            editor.onModifica();
        },
    };
    for (const auto& operation : operations) {
        FaultInjection fault("fdatasync 1 EIO");
        operation();
        EXPECT_EQ(window.takeMessage(),
                  "Impossibile completare la scrittura dell'immagine su disco: Input/output "
                  "error." +
                      kRestored);
        ASSERT_EQ(image(), pristineImage());
    }
    FaultInjection counting("pwrite,fdatasync 0 none");
    choose(13);
    editor.onSalva();
    EXPECT_EQ(window.takeMessage(), text::kSaveDone);
    EXPECT_EQ(FaultInjection::calls(), 8) << "seven writes and one sync";
}

TEST_F(FaultTest, WhatCouldNotBeRestoredIsNamed) {
    FaultInjection fault("pwrite 2+ EIO");
    choose(13);
    editor.onSalva();
    EXPECT_EQ(window.takeMessage(),
              "Scrittura dell'immagine non riuscita a offset 0x1E99A4: Input/output error. Non è "
              "stato possibile ripristinare l'immagine: controlla i byte a offset 0x1D6F39, "
              "0x1E99B1.");
}

TEST_F(FaultTest, AFailedExportLeavesNoFileBehind) {
    FaultInjection fault("syncfs 1 EIO");
    choose(13);
    editor.onExport();
    EXPECT_EQ(window.messages.at(0).icon, MessageIcon::Critical);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
        << "game.bin and a.flg only";
}

TEST_F(FaultTest, OnlyALockHeldElsewhereRefusesAnImage) {
    const std::pair<const char*, bool> cases[] = {
        {"ENOLCK", true}, {"EOPNOTSUPP", true}, {"EWOULDBLOCK", false}};
    for (const auto& [error, opens] : cases) {
        const std::string path = writeImage("other.bin", pristineImage());
        FakeWindow other;
        FlagEditor second(other);
        other.dialogAnswers.push_back(path);
        {
            FaultInjection fault(std::string("flock 1 ") + error);
            EXPECT_EQ(second.startUp(), opens ? std::nullopt : std::optional<int>(1)) << error;
        }
        other.chooseTeam(13);
        second.onSalva();
        if (opens) {
            EXPECT_EQ(readWholeFile(path), withFlag(pristineImage(), 13, catalogFlag(101)));
        }
    }
}

}  // namespace
}  // namespace tavrel::testing
