// The demo image: every place the editor reads holds what the editor should show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "catalog/flag_record.h"
#include "demo_image_content.h"
#include "editor/flag_editor.h"
#include "fake_window.h"
#include "layout/game_layout.h"
#include "test_files.h"

namespace tavrel::testing {
namespace {

class DemoImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeWholeFile(path, demoImage());
        window.folder = dir.path().string();
        window.dialogAnswers.push_back(path);
        ASSERT_EQ(editor.startUp(), std::nullopt);
    }
    TempDir dir;
    std::string path = dir.file("demo.bin");
    FakeWindow window;
    FlagEditor editor{window};
};

TEST_F(DemoImageTest, ShowsNamesAndNets) {
    EXPECT_EQ(window.netOption, NetOption::Normali);
    const std::pair<int, const char*> names[] = {
        {0, "Ireland"}, {4, "Portu"}, {35, "S. Af "}, {37, "Usa  "}, {85, "Boca J"}};
    for (const auto& [team, name] : names) {
        window.chooseTeam(team);
        editor.onTeamChosen();
        EXPECT_EQ(window.nameBox, name) << team;
    }
}

TEST_F(DemoImageTest, EveryTeamWearsItsDesignInAllFiveTypeTables) {
    const Bytes image = readWholeFile(path);
    for (int team = 0; team < kTeamCount; ++team) {
        const std::string_view record = catalogRecord(demoDesign(team));
        for (const std::int64_t copy : kTypeTableCopyOffsets) {
            EXPECT_EQ(image[copy + typeSlot(team)], fromByteText(typeCodeOf(record))[0]) << team;
        }
        if (team == 59 || team == 76)
            continue;
        window.chooseTeam(team);
        editor.onExport();  // reads the palette, across the sector end for 13 and 80
        EXPECT_EQ(editor.state().currentFlagRecord, record.substr(0, kFlagRecordLength)) << team;
    }
}

TEST(DemoImageTool, WritesOnceAndReplacesOnlyWhenForced) {
    TempDir dir;
    const std::string target = dir.file("demo.bin");
    const std::string tool = TAVREL_DEMO_TOOL;
    const auto run = [&](const std::string& options) {
        return std::system((tool + " " + options + " '" + target + "' >/dev/null 2>&1").c_str());
    };
    EXPECT_EQ(run(""), 0);
    EXPECT_EQ(readWholeFile(target), demoImage());
    writeWholeFile(target, std::string("mine"));
    EXPECT_NE(run(""), 0);
    EXPECT_EQ(readWholeFile(target).size(), 4u) << "an existing file is never overwritten";
    EXPECT_EQ(run("--force"), 0);
    EXPECT_EQ(readWholeFile(target), demoImage());
}

}  // namespace
}  // namespace tavrel::testing
