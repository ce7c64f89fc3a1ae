// The window's operations on a scripted window: which message, what the lists show, what is
// refused before any write, and what reaches the image.
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>

#include "catalog/catalog.h"
#include "editor/messages.h"
#include "editor_fixture.h"
#include "game/flag_record.h"

namespace tavrel::testing {
namespace {

TEST_F(EditorTest, ReopeningClearsTheWindowAndKeepsAnOptionTheNewNetsDoNotName) {
    choose(10);
    editor.onNext();
    editor.onDiamondNetsChosen();
    window.pairing = {"Italy Bandiera N° 2"};
    editor.onOpenImage();  // cancelled: nothing changes
    EXPECT_EQ(window.nameBox, "Italy");
    EXPECT_EQ(editor.state().catalogId, 102);
    EXPECT_TRUE(window.dialogRequests.back().clearFileName);

    Bytes unknownNets = pristineImage();
    unknownNets[kNetsOffset] = 0x12;
    const std::string second = writeImage("second.bin", unknownNets);
    window.dialogAnswers.push_back(second);
    editor.onOpenImage();
    EXPECT_TRUE(window.pairing.empty());
    EXPECT_EQ(window.teamIndex, -1);
    EXPECT_EQ(window.nameBox, "");
    EXPECT_EQ(window.positionLabelText, "1");
    EXPECT_TRUE(window.saveEnabled);
    editor.onApplyNets();  // the option chosen for the first image writes into the second
    EXPECT_EQ(readWholeFile(second)[kNetsOffset], 0x28);
    EXPECT_EQ(image(), pristineImage());
}

TEST_F(EditorTest, AnImageHeldByAnotherEditorIsRefusedAndEndsTheProgram) {
    FakeWindow second;
    second.dialogAnswers.push_back(imagePath);
    EXPECT_EQ(FlagEditor(second).startUp(), 1);
    EXPECT_EQ(second.takeMessage(), text::kAccessRefused);

    // In a reopening the previous image is closed first, then the program ends.
    const std::string mine = writeImage("mine.bin", pristineImage());
    FakeWindow third;
    FlagEditor reopening(third);
    third.dialogAnswers = {mine, imagePath};
    ASSERT_EQ(reopening.startUp(), std::nullopt);
    reopening.onOpenImage();
    EXPECT_EQ(third.endedWith, 1);
    EXPECT_EQ(third.messages.at(0).icon, MessageIcon::Critical);
    EXPECT_NO_THROW(ImageFile{mine});
}

TEST_F(EditorTest, WithoutAnImageEveryOperationSaysSo) {
    window.dialogAnswers.push_back(dir.file("missing.bin"));
    editor.onOpenImage();
    EXPECT_TRUE(window.messages.empty()) << "a failed opening is silent";
    choose(0);
    editor.onSave();
    editor.onExport();
    editor.onApplyNets();
    ASSERT_EQ(window.messages.size(), 4u);
    for (const RecordedMessage& message : window.messages) EXPECT_EQ(message.text, text::kNoImage);
}

TEST_F(EditorTest, BrowsingStopsAtBothEndsAndClearStartsOver) {
    editor.onBack();
    EXPECT_EQ(window.positionLabelText, "1");
    for (int step = 0; step < 135; ++step) editor.onNext();
    EXPECT_EQ(window.previewId, 235);
    EXPECT_EQ(window.positionLabelText, "135");
    choose(3);
    window.pairing = {"England Bandiera N° 135"};
    editor.onClear();
    EXPECT_EQ(window.previewId, 101);
    EXPECT_EQ(window.positionLabelText, "1");
    EXPECT_TRUE(window.pairing.empty());
    EXPECT_EQ(window.nameBox, "");
    EXPECT_EQ(window.teamIndex, -1);
}

TEST_F(EditorTest, SaveWritesTheDesignAndListsTheTeamOnce) {
    showDesign(123);
    const int teams[] = {65, 80, 65, 59};  // "Monaco" is part of "Bayer Monaco"
    for (const int team : teams) {
        choose(team);
        editor.onSave();
        EXPECT_EQ(window.takeMessage(), team == 59 ? text::kTypeOnly : text::kSaveDone);
    }
    EXPECT_EQ(window.pairing,
              (std::vector<std::string>{"Monaco Bandiera N° 23", "Newcastle Bandiera N° 23"}));
    Bytes expected = pristineImage();
    for (const int team : teams) expected = withFlag(expected, team, catalogFlag(123));
    EXPECT_EQ(image(), expected);
}

TEST_F(EditorTest, Design158WritesItsOwnColoursAndGivesParmaTheType38) {
    showDesign(158);
    choose(10);
    editor.onSave();
    const Bytes saved = image();
    const auto italyPalette = saved.begin() + kTeams[10].paletteOffset;
    EXPECT_EQ(Bytes(italyPalette, italyPalette + 4), (Bytes{0x48, 0xD9, 0xB9, 0x82}));
    EXPECT_EQ(image()[kTypeTableCopies[4] + 10], 0x0A);

    choose(76);
    editor.onSave();
    writeWholeFile(dir.file("a.flg"), formatFlagRecord(unusualFlag()));
    importInto(76, dir.file("a.flg"));
    for (const std::int64_t copy : kTypeTableCopies) EXPECT_EQ(image()[copy + 85], 0x38);
    editor.onNext();
    editor.onSave();
    EXPECT_EQ(image()[kTypeTableCopies[0] + 85], catalogFlag(159).type);
}

TEST_F(EditorTest, NothingIsWrittenWithoutATeamOrIntoAShortImage) {
    editor.onSave();
    EXPECT_EQ(window.takeMessage(), text::kNoTeamSelected);
    const Bytes cut(pristineImage().begin(), pristineImage().begin() + 12552318 + 28);
    window.dialogAnswers.push_back(writeImage("short.bin", cut));
    editor.onOpenImage();
    writeWholeFile(dir.file("a.flg"), formatFlagRecord(unusualFlag()));
    for (int attempt = 0; attempt < 2; ++attempt) {
        choose(80);  // its palette's last 4 bytes lie past the end
        attempt == 0 ? editor.onSave() : importInto(80, dir.file("a.flg"));
        EXPECT_EQ(window.takeMessage(),
                  "L'immagine CD è troppo corta: servono 4 byte a offset 0xBF89C8, il file ne ha "
                  "12552346. Non è un'immagine completa del gioco.");
    }
    EXPECT_TRUE(window.pairing.empty());
    EXPECT_EQ(readWholeFile(dir.file("short.bin")), cut);

    Bytes iso = pristineImage();
    std::copy_n("CD001", 5, iso.begin() + 16 * 2048 + 1);
    window.dialogAnswers.push_back(writeImage("game.iso", iso));
    editor.onOpenImage();
    choose(13);
    editor.onSave();
    EXPECT_NE(window.takeMessage().find("immagine ISO con settori da 2048 byte"),
              std::string::npos);
    EXPECT_TRUE(window.pairing.empty());
    EXPECT_EQ(readWholeFile(dir.file("game.iso")), iso);
}

TEST_F(EditorTest, ImportReadsTheFirstLineOfAFlagFile) {
    const std::string record = formatFlagRecord(unusualFlag());
    const std::string good[] = {record + "\r\n", record + " trailing\nFF", record + "\r"};
    for (const std::string& content : good) {
        writeWholeFile(imagePath, pristineImage());
        writeWholeFile(dir.file("a.flg"), content);
        importInto(13, dir.file("a.flg"));
        EXPECT_EQ(window.takeMessage(), text::kSaveDone);
        EXPECT_EQ(image(), withFlag(pristineImage(), 13, unusualFlag()));
    }
    EXPECT_TRUE(window.pairing.empty());
    importInto(59, dir.file("a.flg"));
    EXPECT_EQ(window.takeMessage(), text::kImportTypeOnly);

    writeWholeFile(imagePath, pristineImage());
    const std::string bad[] = {"", "\n" + record, std::string(50 << 20, 'A')};
    for (const std::string& content : bad) {
        writeWholeFile(dir.file("a.flg"), content);
        importInto(13, dir.file("a.flg"));
        EXPECT_EQ(window.takeMessage(), text::kMalformedRecord);
    }
    // A pipe would block a plain read. Windows' lives as long as the test program.
#ifdef _WIN32
    const std::string pipe = "\\\\.\\pipe\\tavrel-" + std::to_string(::GetCurrentProcessId());
    ASSERT_NE(::CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_DUPLEX, 0, 1, 0, 0, 0, nullptr),
              INVALID_HANDLE_VALUE);
#else
    const std::string pipe = dir.file("pipe.flg");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
#endif
    for (const std::string& name : {dir.file("missing.flg"), pipe}) {
        importInto(13, name);
        EXPECT_EQ(window.messages.at(0).icon, MessageIcon::Critical) << name;
        window.messages.clear();
    }
    window.teamIndex = -1;
    editor.onImport();
    EXPECT_EQ(window.takeMessage(), text::kNoTeamSelected);
    EXPECT_EQ(image(), pristineImage());
}

TEST_F(EditorTest, ExportWritesTheTeamsFlagAsOneLineBesideTheProgram) {
    writeWholeFile(imagePath, withFlag(pristineImage(), 13, unusualFlag()));
    choose(13);
    editor.onExport();
    EXPECT_EQ(window.takeMessage(), text::kExportDone);
    const Bytes file = readWholeFile(dir.file("Flag_Denma.flg"));
    EXPECT_EQ(std::string(file.begin(), file.end()), formatFlagRecord(unusualFlag()) + "\r\n");

    struct Case {
        int team;
        std::string name;
        const char* message;
    };
    const Case refused[] = {
        {-1, "Italy", text::kNoTeamForExport}, {59, "Newcastle", text::kNoPaletteToExport},
        {10, "../x", text::kBadExportName},    {10, "a\nb", text::kBadExportName},
        {10, "a\\b", text::kBadExportName},    {10, std::string(300, 'x'), text::kBadExportName},
    };
    for (const Case& c : refused) {
        window.teamIndex = c.team;
        window.nameBox = c.name;
        editor.onExport();
        EXPECT_EQ(window.takeMessage(), c.message) << c.name;
    }
    window.folder = dir.file("missing-folder");
    window.nameBox = "Italy";
    editor.onExport();
    EXPECT_EQ(window.messages.at(0).icon, MessageIcon::Critical);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
        << "the image and the one flag file";
}

TEST_F(EditorTest, UndoTakesBackTheImagesLastChangeOnceConfirmed) {
    editor.onUndo();
    EXPECT_EQ(window.takeMessage(), text::kNothingToUndo);
    choose(13);
    editor.onSave();
    editor.onDiamondNetsChosen();
    editor.onApplyNets();
    window.messages.clear();
    window.yes = false;
    editor.onUndo();
    EXPECT_NE(window.questions.back().find("\"Reti: Rombi\""), std::string::npos);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(image()[kNetsOffset], 0x28);
    window.yes = true;
    editor.onUndo();
    EXPECT_EQ(window.takeMessage(), std::string(text::kUndoDone) + "Reti: Rombi");
    EXPECT_EQ(window.netOption, NetPattern::Plain);
    editor.onUndo();
    EXPECT_EQ(image(), pristineImage());
}

TEST_F(EditorTest, AnInterruptedSaveIsCompletedAtTheNextOpening) {
    editor.onClose();
    {
        // What a save leaves behind when the program dies after its log record reached the disk.
        const ImageFile file(imagePath);
        ChangeLog log(file);
        ChangeRecord record;
        record.description = "Salva Denmark: N° 82";
        record.runs = changedRuns(
            {{kTypeTableCopies[0] + 13, {pristineImage()[kTypeTableCopies[0] + 13]}, {0x0B}}});
        ASSERT_TRUE(log.append(record));
    }
    window.dialogAnswers.push_back(imagePath);
    editor.onOpenImage();
    EXPECT_EQ(window.takeMessage(),
              "Un salvataggio interrotto (Salva Denmark: N° 82) è stato completato.");
    EXPECT_EQ(image()[kTypeTableCopies[0] + 13], 0x0B);

}

TEST_F(EditorTest, ADamagedLogIsReportedOnceAndItsReadableChangesStayUndoable) {
    choose(13);
    editor.onSave();
    choose(80);
    editor.onSave();
    editor.onClose();
    Bytes damaged = readWholeFile(ChangeLog::pathFor(imagePath));
    damaged[60] ^= 0x01;  // the first save's record
    writeWholeFile(ChangeLog::pathFor(imagePath), damaged);
    window.messages.clear();
    window.dialogAnswers.push_back(imagePath);
    editor.onOpenImage();
    const std::string keptAs = ChangeLog::pathFor(imagePath) + ".1";
    EXPECT_EQ(window.takeMessage(), text::logDamaged(keptAs));
    EXPECT_EQ(readWholeFile(keptAs), damaged);
    editor.onUndo();
    EXPECT_NE(window.questions.back().find("Salva Bayer Monaco"), std::string::npos);
    EXPECT_EQ(image(), withFlag(pristineImage(), 13, catalogFlag(101)));
}

}  // namespace
}  // namespace tavrel::testing
