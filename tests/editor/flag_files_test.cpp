// Export and Import: a team's flag out to a one-line file and back in, byte for byte.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "catalog/catalog.h"
#include "editor/messages.h"
#include "editor_fixture.h"
#include "layout/game_layout.h"
#include "layout/team_table.h"

namespace tavrel::testing {
namespace {

std::string recordOf(const Bytes& image, int team) {
    std::string record = toCompactByteText(std::span(image).subspan(
        static_cast<std::size_t>(kTypeTableCopyOffsets[0] + typeSlot(team)), 1));
    Bytes palette;
    for (const std::int64_t offset : paletteOffsets(team)) palette.push_back(image[offset]);
    return record + trimBlanks(toByteText(palette));
}

class FlagFilesTest : public EditorTest {
protected:
    std::string exportTeam(int team) {
        window.chooseTeam(team);
        editor.onTeamChosen();
        editor.onExport();
        return dir.file("Flag_" + window.nameBox + ".flg");
    }
    void importInto(int team, const std::string& file) {
        window.chooseTeam(team);
        window.dialogAnswers.push_back(file);
        editor.onImport();
    }
    std::vector<std::string> folderListing() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FlagFilesTest, ExportWritesTheCurrentFlagAsOneLine) {
    for (const int team : {0, 13, 54, 80, 85}) {
        const std::string file = exportTeam(team);
        EXPECT_EQ(window.takeMessage(), text::kExportDone);
        const Bytes content = readWholeFile(file);
        ASSERT_EQ(content.size(), 93u) << team;
        EXPECT_EQ(std::string(content.begin(), content.end()),
                  recordOf(pristineImage(), team) + "\r\n");
    }
    EXPECT_EQ(image(), pristineImage()) << "export only reads the image";
}

TEST_F(FlagFilesTest, ExportAfterSaveGivesTheCatalogRecord) {
    editor.onNext();
    editor.onNext();  // design 103
    window.chooseTeam(13);
    editor.onTeamChosen();
    editor.onSalva();
    editor.onClear();
    const std::string file = exportTeam(13);
    const Bytes content = readWholeFile(file);
    EXPECT_EQ(std::string(content.begin(), content.begin() + 91), catalogRecord(103).substr(0, 91));
}

TEST_F(FlagFilesTest, ExportingTwiceReplacesTheFile) {
    const std::string file = exportTeam(20);
    importInto(20, file);  // copies 2..5 now agree with copy 1
    writeWholeFile(file, std::string("stale"));
    exportTeam(20);
    EXPECT_EQ(readWholeFile(file).size(), 93u);
    EXPECT_EQ(folderListing(), (std::vector<std::string>{"Flag_Hunga.flg", "game.bin"}));
}

TEST_F(FlagFilesTest, ImportIntoTheSameTeamOnlyAlignsTheTypeCopies) {
    const int team = 13;
    importInto(team, exportTeam(team));
    EXPECT_EQ(window.messages.back().text, text::kSaveDone);
    Bytes expected = pristineImage();
    for (const std::int64_t copy : kTypeTableCopyOffsets) {
        expected[copy + typeSlot(team)] =
            pristineImage()[kTypeTableCopyOffsets[0] + typeSlot(team)];
    }
    EXPECT_EQ(image(), expected);
    EXPECT_TRUE(window.pairing.empty());
}

TEST_F(FlagFilesTest, ImportCarriesAFlagToAnotherTeamAcrossSectorEnds) {
    const std::pair<int, int> moves[] = {{13, 80}, {80, 0}, {54, 13}};
    for (const auto& [from, to] : moves) {
        const std::string file = exportTeam(from);
        const std::string record = recordOf(image(), from);
        importInto(to, file);
        EXPECT_EQ(recordOf(image(), to), record) << from << " to " << to;
        for (const std::int64_t offset : typeSlotOffsets(to)) {
            EXPECT_EQ(image()[offset], fromByteText(record.substr(0, 2))[0]);
        }
    }
}

TEST_F(FlagFilesTest, EquivalentSpellingsImportTheSameBytes) {
    const std::string plain = recordOf(pristineImage(), 30);
    std::string lower = plain;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string spellings[] = {plain,          plain + " ",
                                     lower + "\r\n", plain + "\nFF FF FF\n",
                                     plain + "\r",   plain + " trailing words"};
    writeWholeFile(dir.file("a.flg"), plain + "\r\n");
    importInto(40, dir.file("a.flg"));
    const Bytes reference = image();
    for (const std::string& spelling : spellings) {
        writeWholeFile(imagePath, pristineImage());
        writeWholeFile(dir.file("a.flg"), spelling);
        importInto(40, dir.file("a.flg"));
        EXPECT_EQ(window.messages.back().text, text::kSaveDone);
        EXPECT_EQ(image(), reference) << spelling;
    }
}

TEST_F(FlagFilesTest, MalformedFilesAreRefusedWithoutWriting) {
    const std::string good = recordOf(pristineImage(), 30);
    std::string nonHex = good;
    nonHex[40] = 'G';
    std::string missingBlank = good;
    missingBlank.erase(4, 1);
    std::string doubledBlank = good;
    doubledBlank.insert(4, " ");
    std::string binary = good;
    binary[10] = '\0';
    const std::string cases[] = {
        "",           "\r\n", good.substr(0, 90), nonHex,      missingBlank,
        doubledBlank, binary, " " + good,         "\n" + good, std::string(50 * 1024 * 1024, 'A'),
    };
    for (const std::string& content : cases) {
        writeWholeFile(dir.file("bad.flg"), content);
        importInto(30, dir.file("bad.flg"));
        EXPECT_EQ(window.takeMessage(), text::kMalformedRecord) << content.substr(0, 100);
        EXPECT_EQ(image(), pristineImage());
    }
}

TEST_F(FlagFilesTest, ImportIntoAShortImageIsRefusedBeforeAnyWrite) {
    writeWholeFile(dir.file("a.flg"), recordOf(pristineImage(), 30) + "\r\n");
    const Bytes cut(pristineImage().begin(), pristineImage().begin() + 12552318 + 28);
    window.dialogAnswers.push_back(writeImage("short.bin", cut));
    editor.onOpenImage();
    importInto(80, dir.file("a.flg"));  // the palette's last 4 bytes lie past the end
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(readWholeFile(dir.file("short.bin")), cut);
}

TEST_F(FlagFilesTest, ImportReportsWhatIsNotAReadableFile) {
    ASSERT_EQ(::mkfifo(dir.file("pipe.flg").c_str(), 0600), 0);  // would block a plain open
    std::filesystem::create_directory(dir.file("folder.flg"));
    for (const char* name : {"missing.flg", "pipe.flg", "folder.flg"}) {
        importInto(40, dir.file(name));
        ASSERT_EQ(window.messages.size(), 1u) << name;
        EXPECT_EQ(window.messages[0].icon, MessageIcon::Critical) << name;
        window.messages.clear();
    }
    EXPECT_EQ(image(), pristineImage());
}

TEST_F(FlagFilesTest, ImportIntoATeamWithoutPaletteWritesOnlyTheType) {
    writeWholeFile(dir.file("a.flg"), recordOf(pristineImage(), 30) + "\r\n");
    importInto(59, dir.file("a.flg"));
    EXPECT_EQ(window.takeMessage(), text::kImportTypeOnly);
    EXPECT_LE(changedOffsets().size(), 5u);
    for (const std::int64_t offset : changedOffsets())
        EXPECT_TRUE(typeSlotOffsets(59).count(offset));

    while (editor.state().catalogId < 158) editor.onNext();
    importInto(76, dir.file("a.flg"));  // design 158 shown: Parma gets 38 whatever the file says
    EXPECT_EQ(window.takeMessage(), text::kImportTypeOnly);
    for (const std::int64_t offset : typeSlotOffsets(76)) EXPECT_EQ(image()[offset], 0x38);
}

TEST_F(FlagFilesTest, ImportWithoutTeamOrFileDoesNothing) {
    writeWholeFile(dir.file("a.flg"), recordOf(pristineImage(), 30) + "\r\n");
    importInto(-1, dir.file("a.flg"));
    EXPECT_EQ(window.takeMessage(), text::kNoTeamSelected);
    window.dialogAnswers.clear();
    window.chooseTeam(3);
    editor.onImport();  // dialog cancelled
    EXPECT_TRUE(window.messages.empty());
    const OpenDialogRequest& dialog = window.dialogRequests.back();
    EXPECT_EQ(dialog.filters.size(), 1u);
    EXPECT_EQ(dialog.filters[0].pattern, "*.flg");
    EXPECT_TRUE(dialog.clearFileName);
    EXPECT_EQ(image(), pristineImage());
}

TEST_F(FlagFilesTest, ExportRefusesWhatCannotBeAPlainFileHere) {
    struct Case {
        int team;
        std::string name;
        const char* message;
    };
    const Case cases[] = {
        {-1, "Italy", text::kNoTeamForExport},   {59, "Newcastle", text::kNoPaletteToExport},
        {76, "Parma", text::kNoPaletteToExport}, {10, "../x", text::kBadExportName},
        {10, "a/b", text::kBadExportName},       {10, "a\nb", text::kBadExportName},
        {10, "a\\b", text::kBadExportName},      {10, std::string(300, 'x'), text::kBadExportName},
    };
    const auto before = folderListing();
    for (const Case& c : cases) {
        window.teamIndex = c.team;
        window.nameBox = c.name;
        editor.onExport();
        EXPECT_EQ(window.takeMessage(), c.message) << c.name;
        EXPECT_EQ(folderListing(), before) << c.name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path().parent_path() / "Flag_.flg"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a"));

    // An empty name, and one at the system's limit of 255 bytes, are plain names.
    for (const std::string& name : {std::string(), std::string(255 - 9, 'x')}) {
        window.teamIndex = 10;
        window.nameBox = name;
        editor.onExport();
        EXPECT_EQ(window.takeMessage(), text::kExportDone);
        EXPECT_TRUE(std::filesystem::exists(dir.path() / ("Flag_" + name + ".flg")));
    }
}

TEST_F(FlagFilesTest, AnExportThatCannotWriteSaysSoAndLeavesNothing) {
    window.folder = dir.file("missing-folder");
    exportTeam(10);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(folderListing(), std::vector<std::string>{"game.bin"});
}

}  // namespace
}  // namespace tavrel::testing
