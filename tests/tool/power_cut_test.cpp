// Every writing command of tavrel-tool with the power cut at each of its file calls and after
// its end (power_cut_sweep.h): the image ends wholly before or after the change, the history
// lists what it holds, and what the command reported stays so. Linux only: the cut is the
// preload fault shim's.
#include <gtest/gtest.h>

#include <filesystem>

#include "demo_image_content.h"
#include "fault_injection.h"
#include "game/flag_record.h"
#include "journal/change_log.h"
#include "old_logs.h"
#include "power_cut_sweep.h"
#include "run_here.h"
#include "test_files.h"
#include "test_image.h"

namespace tavrel::testing {
namespace {

// The log the commands run first leave, or what becomes of it before the command swept.
enum class Log { AsWritten, OfVersion1, LastRecordDamaged };

// tavrel-tool's command `line`, run in this process from the test's folder.
Outcome tool(const std::string& line) {
    const ToolRun run = runHere(std::filesystem::current_path(), line);
    return {run.status, run.out + run.err};
}

struct Command {
    const char* name;
    const char* line;                 // the command swept
    std::vector<const char*> before;  // commands run first, uncut
    const char* fault = "";           // a file call failing in the swept runs
    void (*prepare)(Bytes& image) = nullptr;
    Log log = Log::AsWritten;
};

void PrintTo(const Command& command, std::ostream* out) {
    *out << command.name;
}

void staleSectors(Bytes& image) {
    for (std::size_t sector = 1000; sector < 4000; ++sector)
        image[sector * kRawSectorSize + 2200] ^= 0x01;
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
     Log::OfVersion1},
    {"NetsIntoADamagedLog",
     "nets game.bin rombi",
     {"apply game.bin denmark --design 58", "apply game.bin denmark --design 3"},
     "",
     nullptr,
     Log::LastRecordDamaged},
};

// In a folder of its own: the image, a flag file, a plan of 20 teams, and the log as the
// commands run first leave it.
class PowerCutTest : public ::testing::TestWithParam<Command> {
protected:
    void SetUp() override {
        if (FaultInjection::calls() < 0)
            GTEST_SKIP() << "runs with the fault shim preloaded";
        const Command& command = GetParam();
        Bytes content = demoImage();
        if (command.prepare)
            command.prepare(content);
        writeWholeFile(image, content);
        writeWholeFile(dir.file("a.flg"), formatFlagRecord(unusualFlag()) + "\r\n");
        std::string plan;
        for (int team = 20; team < 40; ++team)
            plan += std::to_string(team) + " " + std::to_string(team + 40) + "\n";
        writeWholeFile(dir.file("plan.txt"), plan);
        std::filesystem::current_path(dir.path());
        for (const char* line : command.before) EXPECT_EQ(tool(line).status, 0) << line;
        const std::string log = ChangeLog::pathFor(image);
        if (command.log == Log::OfVersion1)
            writeWholeFile(log, versionOneLog(readLog(readWholeFile(log)).records));
        if (command.log == Log::LastRecordDamaged) {
            Bytes damaged = readWholeFile(log);
            damaged[damaged.size() - 10] ^= 0x01;  // in the body of the last record
            writeWholeFile(log, damaged);
        }
    }
    void TearDown() override { std::filesystem::current_path(home); }

    std::filesystem::path home = std::filesystem::current_path();
    TempDir dir;
    std::string image = dir.file("game.bin");
};

TEST_P(PowerCutTest, LeavesTheImageWholeAndItsHistoryTrue) {
    const std::string line = GetParam().line;
    const bool imageChanges = !line.starts_with("export") && !line.starts_with("patch");
    const SweepCount count = sweepPowerCuts(
        {image, [line] { return tool(line); }, {}, imageChanges ? 1 : 0, GetParam().fault});
    std::printf("%s: %d cut points, %d cases\n", GetParam().name, count.cuts, count.cases);
    EXPECT_GE(count.cuts, 5);
}

INSTANTIATE_TEST_SUITE_P(Commands, PowerCutTest, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavrel::testing
