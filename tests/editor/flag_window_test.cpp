// The flag window on scripted windows: what it shows of the team's flag after each kind of
// write, a colour chosen and written, Newcastle's type alone, Import and Export of the flag
// being edited; and the main window's ways to it.
#include "catalog/flag_draft.h"
#include "editor/flag_images.h"
#include "editor/flag_window_table.h"
#include "editor/messages.h"
#include "editor_fixture.h"
#include "game/flag_record.h"
#include "journal/ppf_patch.h"

namespace tavrel::testing {
namespace {

class FlagWindowTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor.attachFlagWindow([this](WindowEvents& events) -> WindowServices& {
            flags.events = &events;
            return flags;
        });
        flags.folder = window.folder;
    }
    // The picture FlagDraft draws of `flag` is somewhere in the preview.
    bool previewShows(std::uint16_t word) const {
        const std::vector<Rgba8>& pixels = flags.image("preview").pixels;
        return std::find(pixels.begin(), pixels.end(), pixelOf(word)) != pixels.end();
    }
    // The last change's name, as Ctrl+Z asks whether to take it back.
    std::string lastChange() {
        window.yes = false;
        editor.onUndo();
        window.yes = true;
        const std::string& question = window.questions.back();
        return question.substr(question.find('"') + 1,
                               question.rfind('"') - question.find('"') - 1);
    }

    FakeWindow flags{kFlagWindow};
};

TEST_F(FlagWindowTest, ItFollowsTheTeamAndEveryWriteIntoIt) {
    window.doubleClick("preview");
    EXPECT_EQ(flags.presented, 1);
    EXPECT_EQ(flags.text("teamBox"), "nessuna: scegline una nella finestra principale");
    EXPECT_EQ(flags.text("draftBox"), "N° 1 Trinidad and Tobago");
    EXPECT_FALSE(flags.enabled("saveButton"));

    writeWholeFile(dir.file("cuba.flg"), formatFlagRecord(catalogFlag(158)));
    writeWholeFile(dir.file("own.flg"), formatFlagRecord(unusualFlag()));
    const std::string italy = "N° 82 Italy, N° 110 Hungary";
    struct Step {
        const char* what;
        std::function<void()> act;
        std::string holds;
    };
    const Step steps[] = {
        {"main Salva", [&] { saveDesign(10, 110); }, italy},
        {"main Import", [&] { importInto(10, dir.file("cuba.flg")); }, "N° 58 Cuba"},
        {"Ctrl+Z", [&] { editor.run(&FlagEditor::onUndo); }, italy},
        {"another team", [&] { choose(13); }, "N° 1 Trinidad and Tobago"},
        {"the tool, seen at reopening",
         [&] {
             editor.onClose();
             writeWholeFile(imagePath, withFlag(image(), 13, unusualFlag()));
             open(imagePath);
             choose(13);
         },
         "personalizzata, tipo A7 (nessun disegno di questo tipo)"},
        {"a patch dropped",
         [&] {
             const std::string copy = writeImage("mod.bin", image());
             ImageSession session(copy);
             GameImage(session).writeFlag(13, catalogFlag(158));
             writeWholeFile(dir.file("mod.ppf"),
                            encodePpf3(netChanges(session.history(), session.file()), "mod"));
             editor.onDrop(dir.file("mod.ppf"));
         },
         "N° 58 Cuba"},
        {"Salva of the flag window",
         [&] {
             flags.type("numberBox", "13");
             flags.click("saveButton");
         },
         "N° 13 Japan"},
    };
    saveDesign(13, 1);
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(flags.text("holdsBox"), step.holds) << step.what;
        EXPECT_EQ(flags.text("draftBox"), step.holds) << step.what << ": the edit starts again";
        EXPECT_EQ(flags.text("draftNote"), "") << step.what;
        EXPECT_EQ(flags.image("preview").pixels.empty(), step.holds.starts_with("pers"))
            << step.what;
    }
    EXPECT_EQ(lastChange(), "Salva Denmark: N° 13");
    EXPECT_EQ(pairings().back(), "Denmark Bandiera N° 13");
}

TEST_F(FlagWindowTest, AChosenColourIsSnappedShownAndWritten) {
    saveDesign(10, 82);  // Italy: colour 3 is white, FF7F, bit 15 clear
    window.doubleClick("preview");
    flags.colourAnswers.push_back(Rgb8{255, 128, 0});
    flags.click("swatch3");
    EXPECT_EQ(flags.colourTitles, std::vector<std::string>{"Colore 3 di Italy"});
    EXPECT_EQ(flags.text("colourValue3"), " 3  021F  R31 G16 B00");
    EXPECT_TRUE(previewShows(0x021F));
    EXPECT_FALSE(flags.enabled("colourValue2")) << "design 82 draws colours 1, 3 and 5 alone";
    EXPECT_EQ(flags.text("draftBox"), "personalizzata, tipo 0B (la più vicina: N° 82 Italy)");
    EXPECT_EQ(flags.text("draftNote"), "non salvata");
    flags.click("flagBit3");
    EXPECT_TRUE(flags.checked("flagBit3"));
    flags.type("typeBox", "0b");  // the same type: nothing but the colour is written
    flags.click("saveButton");
    EXPECT_EQ(flags.takeMessage(), text::kSaveDone);

    Flag expected = catalogFlag(182);
    setColourWord(expected, 3, 0x821F);
    EXPECT_EQ(image(), withFlag(pristineImage(), 10, expected));
    EXPECT_EQ(lastChange(), "Salva Italy: bandiera della squadra (colore 3=821F)");
    EXPECT_EQ(flags.text("draftBox"), flags.text("holdsBox")) << "saved";
    EXPECT_EQ(flags.text("draftNote"), "");  // Ctrl+Z after it: the real-window tests
}

// Black with bit 15 clear is the colour the console leaves transparent: the window asks
// whether the black that shows is meant.
TEST_F(FlagWindowTest, BlackIsOfferedAs8000) {
    saveDesign(10, 13);  // Japan: colour 1 is FF7F, colour 5 181A
    window.doubleClick("preview");
    struct Case {
        int k;
        bool yes;
        const char* value;
        bool asked;
    };
    const Case cases[] = {{1, true, " 1  8000  R00 G00 B00", true},
                          {5, false, " 5  0000  trasparente", true},
                          {5, true, " 5  8000  R00 G00 B00", true},
                          {5, true, " 5  8000  R00 G00 B00", false}};
    for (const Case& c : cases) {
        flags.questions.clear();
        flags.yes = c.yes;
        flags.colourAnswers.push_back(Rgb8{3, 3, 3});
        flags.click("swatch" + std::to_string(c.k));
        EXPECT_EQ(flags.text("colourValue" + std::to_string(c.k)), c.value);
        EXPECT_EQ(flags.questions.size(), c.asked ? 1u : 0u) << c.value;
    }
    flags.click("flagBit5");
    EXPECT_EQ(flags.image("swatch5").at(1, 1), kCheckerLight) << "transparent shows the board";
    flags.click("swatch5");  // cancelled: nothing changes
    EXPECT_EQ(flags.text("colourValue5"), " 5  0000  trasparente");
}

TEST_F(FlagWindowTest, NewcastleAndParmaTakeOnlyAType) {
    choose(59);
    window.doubleClick("preview");
    EXPECT_EQ(flags.text("holdsBox").substr(0, 7),
              "tipo " + typeText(image()[kTypeTableCopies[0] + 59 + 9]));
    for (const char* control : {"swatch1", "flagBit15", "exportButton"})
        EXPECT_FALSE(flags.enabled(control)) << control;
    EXPECT_TRUE(flags.image("preview").pixels.empty());
    flags.colourAnswers.push_back(Rgb8{1, 2, 3});
    flags.click("swatch1");
    EXPECT_TRUE(flags.colourTitles.empty());
    flags.type("typeBox", "3");  // not yet a type
    flags.type("typeBox", "3C");
    flags.click("saveButton");
    EXPECT_EQ(image(), withFlag(pristineImage(), 59, Flag{0x3C, {}}));
    EXPECT_EQ(lastChange(), "Salva Newcastle: bandiera della squadra (tipo 3C)");

    choose(76);
    flags.type("numberBox", "58");
    EXPECT_EQ(flags.text("typeBox"), "38") << "Parma's type for design 58";
}

TEST_F(FlagWindowTest, ImportShowsAFileWithoutWritingAndExportWritesTheEdit) {
    saveDesign(10, 1);
    window.doubleClick("preview");
    writeWholeFile(dir.file("cuba.flg"), formatFlagRecord(catalogFlag(158)) + "\r\n");
    writeWholeFile(dir.file("bad.flg"), "0A48 D9");
    flags.dialogAnswers = {dir.file("bad.flg"), dir.file("cuba.flg")};
    flags.click("importButton");
    EXPECT_EQ(flags.takeMessage(), text::kMalformedRecord);
    flags.click("importButton");
    EXPECT_EQ(flags.text("draftBox"), "N° 58 Cuba");
    EXPECT_EQ(flags.text("draftNote"), "da cuba.flg · non salvata");
    EXPECT_EQ(flags.text("numberBox"), "58");
    const Bytes before = image();
    EXPECT_EQ(before, withFlag(pristineImage(), 10, catalogFlag(101)));

    for (const char* typed : {"0", "136", "5x", ""}) flags.type("numberBox", typed);
    flags.click("exportButton");
    EXPECT_EQ(flags.takeMessage(), text::kExportDone);
    const Bytes file = readWholeFile(dir.file("Flag_Italy.flg"));
    EXPECT_EQ(std::string(file.begin(), file.end()), formatFlagRecord(catalogFlag(158)) + "\r\n");
    EXPECT_EQ(image(), before);
    flags.click("saveButton");
    EXPECT_EQ(lastChange(), "Import cuba.flg → Italy");
}

TEST_F(FlagWindowTest, TheMainWindowSaysHowToReachItAndStepsWithTheArrows) {
    EXPECT_EQ(window.toolTip("preview"),
              "N° 1 Trinidad and Tobago\nDoppio clic, clic destro o Ctrl+B: Bandiera della "
              "squadra…\nFrecce ← →: il disegno prima o dopo");
    for (const char* control : {"preview", "backButton", "nextButton"}) {
        window.arrow(control, -1);
        EXPECT_EQ(window.text("positionLabel"), "1") << "the first design stays";
        window.arrow(control, +1);
        EXPECT_EQ(window.text("positionLabel"), "2");
        window.arrow(control, -1);
    }
    window.arrow("nextButton", +1);
    EXPECT_TRUE(window.toolTip("preview").starts_with("N° 2 South Africa\n"));
    editor.commanded(0);
    EXPECT_EQ(flags.presented, 1);
    EXPECT_EQ(flags.text("fromMainButton"), "Disegno N° 2");
    flags.click("fromMainButton");
    EXPECT_EQ(flags.text("colourValue14"), "14  0000  trasparente");
}

}  // namespace
}  // namespace tavrel::testing
