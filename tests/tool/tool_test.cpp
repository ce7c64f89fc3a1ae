// tavrel-tool run as a user runs it: arguments, exit statuses, refusals that write nothing,
// and one run of each command on demo images, checked against GameImage and whole files.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "catalog/catalog.h"
#include "game/flag_files.h"
#include "editor/flag_editor.h"
#include "editor/messages.h"
#include "fake_window.h"
#include "journal/image_session.h"
#include "tool_fixture.h"

namespace tavrel::testing {
namespace {

TEST_F(ToolTest, RefusesWhatItCannotDoAndWritesNothing) {
    Bytes cut = demoImage();
    cut.resize(12552318 + 28);  // Bayer Monaco's palette ends past the end
    writeWholeFile(dir.file("short.bin"), cut);
    writeWholeFile(dir.file("bad.flg"), "0G" + formatFlagRecord(unusualFlag()).substr(2));
    const std::pair<const char*, int> cases[] = {
        {"", 2},
        {"teams", 2},
        {"show game.bin atlantis", 2},
        {"show game.bin 59", 2},
        {"apply game.bin 13 --design 136", 2},
        {"apply game.bin 13 --design 1 --file a.flg", 2},
        {"apply game.bin 13", 2},
        {"apply game.bin 13 --file bad.flg", 2},
        {"apply short.bin 80 --design 1", 2},
        {"nets game.bin quadri", 2},
        {"export game.bin parma", 2},
        {"catalog 0", 2},
        {"teams missing.bin", 1},
        {"apply game.bin 13 --file missing.flg", 1},
        {"export game.bin 13 --to missing-folder", 1},
        {"--help", 0},
        {"apply --help", 0},
    };
    for (const auto& [arguments, status] : cases) {
        const ToolRun run = tool(arguments);
        EXPECT_EQ(run.status, status) << arguments << "\n" << run.err;
        EXPECT_EQ(run.err.empty(), status == 0) << arguments;
    }
    EXPECT_EQ(readWholeFile(image), demoImage());
    EXPECT_EQ(readWholeFile(dir.file("short.bin")), cut);
    EXPECT_NE(tool("show game.bin atlantis").err.find("squadra sconosciuta"), std::string::npos);
}

TEST_F(ToolTest, TeamsListsEveryTeamAsTheWindowShowsIt) {
    const ToolRun run = tool("teams game.bin");
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    ImageSession file(image, ImageAccess::ReadOnly);
    const GameImage game(file);
    std::string line;
    for (int team = 0; team < kTeamCount; ++team) {
        ASSERT_TRUE(std::getline(lines, line));
        EXPECT_NE(line.find("\"" + game.teamName(team) + "\""), std::string::npos) << line;
        // The last column: the N° of every design the flag equals (some designs are alike).
        const std::string designs = "," + line.substr(line.find_last_of(' ') + 1) + ",";
        const std::string design = std::to_string(catalogPosition(101 + team));
        EXPECT_NE(designs.find(hasPalette(team) ? "," + design + "," : ",-,"), std::string::npos)
            << line;
    }
    EXPECT_FALSE(std::getline(lines, line));
    EXPECT_EQ(tool("nets game.bin --json").out, "{\"nets\": \"normali\"}\n");
}

TEST_F(ToolTest, ApplyAndShowRoundTripEveryDesign) {
    for (int number = 1; number <= kCatalogSize; ++number) {
        const int team = (number * 7) % 54;  // national teams, all with a palette
        const std::string n = std::to_string(number);
        ASSERT_EQ(tool("apply game.bin " + std::to_string(team) + " --design " + n).status, 0);
        EXPECT_EQ(tool("show game.bin " + std::to_string(team)).out,
                  formatFlagRecord(catalogFlag(catalogIdAt(number))) + "\n")
            << n;
    }
    writeWholeFile(image, demoImage());
    EXPECT_EQ(tool("apply game.bin 'bayer monaco' --file a.flg").status, 0);
    EXPECT_EQ(readWholeFile(image), withFlag(demoImage(), 80, unusualFlag()));
}

TEST_F(ToolTest, ExportedFlagsApplyAsAPlanToAnotherImage) {
    ASSERT_EQ(tool("apply game.bin 13 --file a.flg").status, 0);
    std::filesystem::create_directory(dir.file("flags"));
    ASSERT_EQ(tool("export game.bin --to flags").status, 0);
    std::ofstream plan(dir.file("flags/plan.txt"));
    plan << "# every exported flag\n\n";
    Bytes expected = demoImage();
    ImageSession file(image, ImageAccess::ReadOnly);
    const GameImage game(file);
    for (int team = 0; team < kTeamCount; ++team) {
        if (!hasPalette(team))
            continue;
        plan << '"' << kTeams[static_cast<std::size_t>(team)].label << "\" \""
             << *flagFileName(game.teamName(team)) << "\"\n";
        expected = withFlag(expected, team, game.readFlag(team));
    }
    plan.close();
    writeWholeFile(dir.file("second.bin"), demoImage());
    const ToolRun run = tool("apply second.bin --plan flags/plan.txt");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readWholeFile(dir.file("second.bin")), expected);

    // One bad line: nothing is written, and every bad line is named.
    writeWholeFile(dir.file("bad.txt"), "Denmark 3\nAtlantis 4\nItaly 136\n");
    const ToolRun refused = tool("apply second.bin --plan bad.txt");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("riga 2"), std::string::npos);
    EXPECT_NE(refused.err.find("riga 3"), std::string::npos);
    EXPECT_EQ(readWholeFile(dir.file("second.bin")), expected);
}

#ifndef _WIN32  // the fault shim is preloaded by Linux's dynamic loader
TEST_F(ToolTest, APlanIsSyncedOnceAndWrittenWholeOrNotAtAll) {
    writeWholeFile(dir.file("plan.txt"), "Denmark 3\n\"Bayer Monaco\" a.flg\nParma 58\n");
    const std::string shim = "LD_PRELOAD=" TAVREL_FAULT_SHIM " TAVREL_FAULT=";
    // The change log's sync comes first, then the image's one.
    EXPECT_EQ(tool("apply game.bin --plan plan.txt", shim + "'fdatasync 2 EIO'").status, 1);
    EXPECT_EQ(readWholeFile(image), demoImage());
    EXPECT_EQ(tool("apply game.bin --plan plan.txt", shim + "'fdatasync 3 EIO'").status, 0);
    const Bytes expected = withFlag(withFlag(demoImage(), 13, catalogFlag(103)), 80, unusualFlag());
    EXPECT_EQ(readWholeFile(image), withFlag(expected, 76, Flag{0x38, {}}));
}
#endif

TEST_F(ToolTest, TheWindowAndTheToolRefuseEachOthersImage) {
    {
        FakeWindow window;
        FlagEditor editor(window);
        window.dialogAnswers.push_back(image);
        ASSERT_EQ(editor.startUp(), std::nullopt);
        const ToolRun run = tool("apply game.bin 13 --design 3");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("accesso negato"), std::string::npos) << run.err;
    }
#ifndef _WIN32  // the kernel's list of locks is Linux's
    // The tool holds the image while it waits for its plan on stdin.
    const std::string command =
        std::string(TAVREL_TOOL) + " apply '" + image + "' --plan - >/dev/null";
    FILE* plan = ::popen(command.c_str(), "w");
    ASSERT_NE(plan, nullptr);
    // Trying the lock would race the tool for it: the kernel's list of locks says when it is held.
    struct stat info {};
    ASSERT_EQ(::stat(image.c_str(), &info), 0);
    const std::string inode = ":" + std::to_string(info.st_ino) + " ";
    bool held = false;
    for (int poll = 0; poll < 3000 && !held; ++poll) {
        std::ostringstream locks;
        locks << std::ifstream("/proc/locks").rdbuf();
        held = locks.str().find(inode) != std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(held);
    FakeWindow window;
    window.dialogAnswers.push_back(image);
    EXPECT_EQ(FlagEditor(window).startUp(), 1);
    EXPECT_EQ(window.takeMessage(), tavrel::text::kAccessRefused);
    std::fputs("Denmark 3\n", plan);
    EXPECT_EQ(::pclose(plan), 0);
    EXPECT_EQ(readWholeFile(image), withFlag(demoImage(), 13, catalogFlag(103)));
#endif
}

}  // namespace
}  // namespace tavrel::testing
