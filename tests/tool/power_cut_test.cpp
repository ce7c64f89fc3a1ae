// Every writing command of tavrel-tool with the power cut at each of its file calls and after
// its end (power_cut_sweep.h): the image ends wholly before or after the change, the history
// lists what it holds, and what the command reported stays so. Linux only: the cut is the
// preload fault shim's.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "demo_image_content.h"
#include "fault_injection.h"
#include "game/flag_record.h"
#include "journal/change_log.h"
#include "old_logs.h"
#include "power_cut_sweep.h"
#include "test_files.h"
#include "test_image.h"
#include "tool/command_line.h"

namespace tavrel::testing {
namespace {

// tavrel-tool's command line, run in this process in the current folder.
Outcome tool(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream split(line);
    for (std::string word; split >> word;) words.push_back(word);
    std::ostringstream out, err;
    std::istringstream in;
    const int status = tool::runTool(words, {out, err, in});
    return {status, out.str() + err.str()};
}

struct Command {
    const char* name;
    const char* line;                 // the command swept
    std::vector<const char*> before;  // commands run first, uncut
    const char* fault = "";           // a file call failing in the swept runs
    void (*prepare)(Bytes& image) = nullptr;
    void (*spoil)(const std::string& log) = nullptr;  // after the commands run first
};

void PrintTo(const Command& command, std::ostream* out) {
    *out << command.name;
}

void staleSectors(Bytes& image) {
    for (std::size_t sector = 1000; sector < 4000; ++sector)
        image[sector * kRawSectorSize + 2200] ^= 0x01;
}

// The log as the first version of Tavrel wrote it, the same changes in it.
void asVersionOne(const std::string& log) {
    writeWholeFile(log, versionOneLog(readLog(readWholeFile(log)).records));
}

const Command kCommands[] = {
    {"ApplyADesignIntoANewLog", "apply game.bin denmark --design 58", {}},
    {"ApplyAFlagFile", "apply game.bin 13 --file a.flg", {"nets game.bin rombi"}},
    {"ApplyAPlanOf20Teams", "apply game.bin --plan plan.txt", {}},
    {"Nets", "nets game.bin rombi", {"apply game.bin denmark --design 58"}},
    {"UndoTwoSteps",
     "undo game.bin --steps 2",
     {"apply game.bin denmark --design 58", "nets game.bin rombi"}},
    {"FixChecksumsOf3000Sectors", "fix-checksums game.bin --all", {}, "", staleSectors},
    {"ExportFourTeams", "export game.bin 13 80 1 5", {}},
    {"Patch", "patch game.bin mod.ppf", {"apply game.bin 80 --file a.flg", "nets game.bin rombi"}},
    {"ApplyWhoseImageSyncFails", "apply game.bin denmark --design 58", {}, "fdatasync 2 EIO"},
    {"NetsIntoAVersion1Log",
     "nets game.bin rombi",
     {"apply game.bin denmark --design 58"},
     "",
     nullptr,
     asVersionOne},
};

class PowerCutTest : public ::testing::TestWithParam<Command> {
protected:
    void SetUp() override {
        if (FaultInjection::calls() < 0)
            GTEST_SKIP() << "runs with the fault shim preloaded";
        Bytes content = demoImage();
        if (GetParam().prepare)
            GetParam().prepare(content);
        writeWholeFile(image, content);
        writeWholeFile(dir.file("a.flg"), formatFlagRecord(unusualFlag()) + "\r\n");
        std::string plan;
        for (int team = 20; team < 40; ++team)
            plan += std::to_string(team) + " " + std::to_string(team + 40) + "\n";
        writeWholeFile(dir.file("plan.txt"), plan);
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override { std::filesystem::current_path(home); }

    SweepCount sweep(const Command& command) {
        for (const char* line : command.before) EXPECT_EQ(tool(line).status, 0) << line;
        if (command.spoil)
            command.spoil(ChangeLog::pathFor(image));
        const std::string line = command.line;
        const SweepCount count =
            sweepPowerCuts({image,
                            [line] { return tool(line); },
                            {},
                            line.starts_with("export") || line.starts_with("patch") ? 0 : 1,
                            command.fault});
        std::printf("%s: %d cut points, %d cases\n", command.name, count.cuts, count.cases);
        return count;
    }

    std::filesystem::path home = std::filesystem::current_path();
    TempDir dir;
    std::string image = dir.file("game.bin");
};

TEST_P(PowerCutTest, LeavesTheImageWholeAndItsHistoryTrue) {
    EXPECT_GE(sweep(GetParam()).cuts, 5);
}

INSTANTIATE_TEST_SUITE_P(Commands, PowerCutTest, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavrel::testing
