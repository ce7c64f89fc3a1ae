// The window's operations on a scripted window: which message, what the lists show, what is
// refused before any write, and what reaches the image; opening by drop, a patch dropped on the
// window, and the question before the first write into an image that does not look like the
// game. (An image given at start: the real-window tests.)
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>

#include "editor/messages.h"
#include "editor_fixture.h"
#include "game/flag_record.h"
#include "journal/ppf_patch.h"

namespace tavrel::testing {
namespace {

TEST_F(EditorTest, ReopeningClearsTheWindowAndKeepsAnOptionTheNewNetsDoNotName) {
    choose(10);
    window.click("nextButton");
    window.click("diamondNetsOption");
    window.click("saveButton");
    window.click("openButton");  // cancelled: nothing changes
    EXPECT_EQ(window.text("nameBox"), "Italy");
    EXPECT_EQ(editor.state().catalogId, 102);
    EXPECT_EQ(window.dialogRequests.back().fileName, "") << "not the image chosen at start";

    Bytes unknownNets = pristineImage();
    unknownNets[kNetsOffset] = 0x12;
    const std::string second = writeImage("second.bin", unknownNets);
    open(second);
    EXPECT_TRUE(pairings().empty());
    EXPECT_EQ(editor.state().team, -1);
    EXPECT_EQ(window.text("nameBox"), "");
    EXPECT_EQ(window.text("positionLabel"), "1");
    EXPECT_TRUE(window.enabled("saveButton"));
    EXPECT_TRUE(window.checked("diamondNetsOption"));
    window.click(
        "applyNetsButton");  // the option chosen for the first image writes into the second
    EXPECT_EQ(readWholeFile(second)[kNetsOffset], 0x28);
    EXPECT_EQ(image(), withFlag(pristineImage(), 10, catalogFlag(102)));
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
    open(dir.file("missing.bin"));
    EXPECT_TRUE(window.messages.empty()) << "a failed opening is silent";
    choose(0);
    for (const char* button : {"saveButton", "exportButton", "applyNetsButton"})
        window.click(button);
    ASSERT_EQ(window.messages.size(), 4u);
    for (const RecordedMessage& message : window.messages) EXPECT_EQ(message.text, text::kNoImage);
}

TEST_F(EditorTest, BrowsingStopsAtBothEndsAndClearStartsOver) {
    EXPECT_FALSE(window.enabled("saveButton"));
    window.click("backButton");
    EXPECT_EQ(window.text("positionLabel"), "1");
    for (int step = 0; step < 135; ++step) window.click("nextButton");
    EXPECT_EQ(window.picture("preview"), 235);
    EXPECT_EQ(window.text("positionLabel"), "135");
    choose(3);
    window.click("saveButton");
    window.click("clearButton");
    EXPECT_TRUE(window.enabled("saveButton"));
    EXPECT_EQ(window.picture("preview"), 101);
    EXPECT_EQ(window.text("positionLabel"), "1");
    EXPECT_TRUE(pairings().empty());
    EXPECT_EQ(window.text("nameBox"), "");
    EXPECT_EQ(window.text("teamList"), "");
    EXPECT_EQ(editor.state().team, -1);
}

// The list holds one line per team, the latest save last, and follows undo: a save taken back
// gives its team's line back as it was before it. A team is matched by its whole label.
TEST_F(EditorTest, ThePairingListFollowsSavesUndoAndClear) {
    // 's': save `team` with the design at `position`; 'u': Ctrl+Z; 'c': Clear.
    struct Step {
        char action;
        int team = 0, position = 0;
    };
    struct Case {
        std::vector<Step> steps;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {{{'s', 65, 23}, {'s', 80, 23}, {'s', 65, 24}},
         {"Bayer Monaco Bandiera N° 23", "Monaco Bandiera N° 24"}},
        {{{'s', 10, 2}, {'s', 13, 3}, {'s', 10, 5}, {'u'}},
         {"Italy Bandiera N° 2", "Denmark Bandiera N° 3"}},
        {{{'s', 10, 2}, {'s', 10, 5}, {'u'}, {'u'}}, {}},
        {{{'s', 10, 2}, {'s', 10, 2}, {'u'}}, {}},  // the second save changed no byte
        {{{'s', 10, 2}, {'c'}, {'s', 13, 3}, {'u'}, {'u'}}, {}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        open(writeImage(std::to_string(i) + ".bin", pristineImage()));
        for (const Step& step : cases[i].steps) {
            if (step.action == 's')
                saveDesign(step.team, step.position);
            else
                step.action == 'u' ? editor.onUndo() : window.click("clearButton");
        }
        EXPECT_EQ(pairings(), cases[i].lines) << "case " << i;
    }
}

TEST_F(EditorTest, Design158WritesItsOwnColoursAndGivesParmaTheType38) {
    showDesign(158);
    choose(10);
    window.click("saveButton");
    EXPECT_EQ(window.takeMessage(), text::kSaveDone);
    EXPECT_EQ(image(), withFlag(pristineImage(), 10, catalogFlag(158)));

    choose(76);
    window.click("saveButton");
    EXPECT_EQ(window.takeMessage(), text::kTypeOnly) << "Parma has no colours of its own";
    writeWholeFile(dir.file("a.flg"), formatFlagRecord(unusualFlag()));
    importInto(76, dir.file("a.flg"));
    for (const std::int64_t copy : kTypeTableCopies) EXPECT_EQ(image()[copy + 85], 0x38);
    window.click("nextButton");
    window.click("saveButton");
    EXPECT_EQ(image()[kTypeTableCopies[0] + 85], catalogFlag(159).type);
}

// (Without a team: the offscreen window's test of typing in the team list.)
TEST_F(EditorTest, NothingIsWrittenIntoAShortImageOrAnImageOf2048ByteSectors) {
    const Bytes cut(pristineImage().begin(), pristineImage().begin() + 12552318 + 28);
    open(writeImage("short.bin", cut));
    writeWholeFile(dir.file("a.flg"), formatFlagRecord(unusualFlag()));
    for (int attempt = 0; attempt < 2; ++attempt) {
        choose(80);  // its palette's last 4 bytes lie past the end
        attempt == 0 ? window.click("saveButton") : importInto(80, dir.file("a.flg"));
        EXPECT_EQ(window.takeMessage(),
                  "L'immagine CD è troppo corta: servono 4 byte a offset 0xBF89C8, il file ne ha "
                  "12552346. Non è un'immagine completa del gioco.");
    }
    EXPECT_TRUE(pairings().empty());
    EXPECT_EQ(readWholeFile(dir.file("short.bin")), cut);

    // An image of 2048-byte sectors is refused as it opens, saying what it is.
    Bytes iso(pristineImage().size());
    std::copy_n("\1CD001\1", 7, iso.begin() + 16 * 2048);
    open(writeImage("game.iso", iso));
    EXPECT_NE(window.takeMessage().find("immagine ISO con settori da 2048 byte"),
              std::string::npos);
    window.click("saveButton");
    EXPECT_EQ(window.takeMessage(), text::kNoImage);
    EXPECT_TRUE(pairings().empty());
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
    EXPECT_TRUE(pairings().empty());
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
    window.type("teamList", "Denmarkx");  // typing chooses no team
    window.click("importButton");
    EXPECT_EQ(window.takeMessage(), text::kNoTeamSelected);
    EXPECT_EQ(image(), pristineImage());
}

TEST_F(EditorTest, ExportWritesBesideTheProgramWhatItMay) {
    writeWholeFile(imagePath, withFlag(pristineImage(), 13, unusualFlag()));
    choose(13);
    window.click("exportButton");
    EXPECT_EQ(window.takeMessage(), text::kExportDone);  // its line: the real-window tests

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
        choose(c.team < 0 ? 10 : c.team);
        if (c.team < 0)
            window.type("teamList", "Ital");
        window.type("nameBox", c.name);
        window.click("exportButton");
        EXPECT_EQ(window.takeMessage(), c.message) << c.name;
    }
    window.folder = dir.file("missing-folder");
    window.type("nameBox", "Italy");
    window.click("exportButton");
    EXPECT_EQ(window.messages.at(0).icon, MessageIcon::Critical);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
        << "the image and the one flag file";
}

TEST_F(EditorTest, UndoTakesBackTheImagesLastChangeOnceConfirmed) {
    editor.onUndo();
    EXPECT_EQ(window.takeMessage(), text::kNothingToUndo);
    choose(13);
    window.click("saveButton");
    window.click("diamondNetsOption");
    window.click("applyNetsButton");
    window.messages.clear();
    window.yes = false;
    editor.onUndo();
    EXPECT_NE(window.questions.back().find("\"Reti: Rombi\""), std::string::npos);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(image()[kNetsOffset], 0x28);
    window.yes = true;
    editor.onUndo();
    EXPECT_EQ(window.takeMessage(), std::string(text::kUndoDone) + "Reti: Rombi");
    // The option follows the nets taken back, and so does what "Modifica" writes.
    EXPECT_TRUE(window.checked("plainNetsOption"));
    window.click("applyNetsButton");
    EXPECT_EQ(image(), withFlag(pristineImage(), 13, catalogFlag(101)));
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
    open(imagePath);
    EXPECT_EQ(window.takeMessage(),
              "Un salvataggio interrotto (Salva Denmark: N° 82) è stato completato.");
    EXPECT_EQ(image()[kTypeTableCopies[0] + 13], 0x0B);
}

// A damaged log is reported and kept aside as it was; what still reads stays undoable, and
// Ctrl+Z says why it stops where the log lost a change. Two saves, the second into Bayer Monaco
// with the first record damaged, or into Denmark again with the last one damaged (a lost change
// that overwrote the kept one's bytes).
TEST_F(EditorTest, ADamagedLogIsReportedAndCtrlZStopsWhereItLostAChange) {
    for (const int second : {80, 13}) {
        const std::string path = writeImage(std::to_string(second) + ".bin", pristineImage());
        const std::string log = ChangeLog::pathFor(path);
        open(path);
        saveDesign(13, 1);
        saveDesign(second, 2);
        editor.onClose();
        Bytes damaged = readWholeFile(log);
        damaged[second == 80 ? 60 : damaged.size() - 10] ^= 0x01;
        writeWholeFile(log, damaged);
        open(path);
        EXPECT_EQ(window.takeMessage(), text::logDamaged(log + ".1"));
        EXPECT_EQ(readWholeFile(log + ".1"), damaged);
        editor.onUndo();
        if (second == 13) {
            EXPECT_EQ(window.takeMessage(), text::kUndoStopsAtGap);
            continue;
        }
        EXPECT_NE(window.questions.back().find("Salva Bayer Monaco"), std::string::npos);
        EXPECT_EQ(readWholeFile(path), withFlag(pristineImage(), 13, catalogFlag(101)));
    }
}

TEST_F(EditorTest, AnotherDiscIsWrittenOnlyOnceTheUserSaysSoAndAskedOnce) {
    const Bytes zeros(pristineImage().size());
    open(writeImage("zeros.bin", zeros));
    choose(13);
    window.yes = false;
    window.click("saveButton");
    EXPECT_EQ(window.questions, std::vector<std::string>{text::kNotTheGame});
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(pairings().empty());
    EXPECT_EQ(readWholeFile(dir.file("zeros.bin")), zeros);
    window.yes = true;
    window.click("saveButton");
    window.click("saveButton");
    EXPECT_EQ(window.questions.size(), 2u) << "asked again after No, never after Yes";
    EXPECT_EQ(readWholeFile(dir.file("zeros.bin")), withFlag(zeros, 13, catalogFlag(101)));
}

TEST_F(EditorTest, ADroppedPatchSaysWhatItChangesAndUndoTakesItBack) {
    // The patch: Denmark's and Italy's flags and the nets, made on a copy.
    const std::string copy = writeImage("mod.bin", pristineImage());
    {
        ImageSession session(copy);
        GameImage game(session);
        game.writeFlag(13, unusualFlag());
        game.writeFlag(10, catalogFlag(120));
        game.setNets(NetPattern::Diamond);
        writeWholeFile(dir.file("mod.ppf"),
                       encodePpf3(netChanges(session.history(), session.file()), "mod"));
    }
    editor.onDrop(dir.file("mod.ppf"));
    EXPECT_EQ(window.questions,
              std::vector<std::string>{"Applicare la patch mod.ppf? Cambia: Italy, Denmark, reti"});
    EXPECT_EQ(window.takeMessage(), "Patch applicata: mod.ppf. Ctrl+Z la annulla.");
    EXPECT_EQ(image(), readWholeFile(copy));
    EXPECT_TRUE(window.checked("diamondNetsOption"));
    editor.onUndo();
    EXPECT_EQ(image(), pristineImage());
    window.messages.clear();

    // Over another change of Denmark's palette, the patch is refused by team and place.
    choose(13);
    window.click("saveButton");
    EXPECT_EQ(window.takeMessage(), text::kSaveDone);
    const Bytes saved = image();
    editor.onDrop(dir.file("mod.ppf"));
    EXPECT_NE(window.takeMessage().find("Denmark: tavolozza cambiata da un'altra modifica"),
              std::string::npos);
    EXPECT_EQ(image(), saved);
}

TEST_F(EditorTest, ADroppedImageOpensAndAFolderKeepsTheImageOpen) {
    editor.onDrop(dir.path().string());
    EXPECT_NE(window.takeMessage().find("non è un file immagine"), std::string::npos);
    EXPECT_TRUE(editor.hasImage());
    const std::string other = writeImage("other.bin", pristineImage());
    editor.onDrop(other);
    choose(13);
    window.click("saveButton");
    EXPECT_EQ(readWholeFile(other), withFlag(pristineImage(), 13, catalogFlag(101)));
    EXPECT_EQ(image(), pristineImage());
}

}  // namespace
}  // namespace tavrel::testing
