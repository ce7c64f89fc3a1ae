// The change log through tavrel-tool: a save killed at every write it makes ends whole or not
// at all once the image is opened again; undo and a PPF patch give back exact images.
#include <filesystem>

#include "catalog/catalog.h"
#include "game/game_places.h"
#include "journal/change_log.h"
#include "tool_fixture.h"

namespace tavrel::testing {
namespace {

class LogTest : public ToolTest {
protected:
    std::string log = ChangeLog::pathFor(image);
    const Bytes saved = withFlag(demoImage(), 13, catalogFlag(158));

#ifndef _WIN32  // the fault shim is preloaded by Linux's dynamic loader
    // `tavrel-tool apply` for Denmark on a demo image without a log, killed at the k-th pwrite
    // or fdatasync; its exit status (0 when it ran to its end).
    int killSave(int k) {
        writeWholeFile(image, demoImage());
        std::filesystem::remove(log);
        return tool("apply game.bin denmark --design 58", "LD_PRELOAD=" TAVREL_FAULT_SHIM
                                                          " TAVREL_FAULT='pwrite,fdatasync " +
                                                              std::to_string(k) + " kill'")
            .status;
    }
#endif
};

#ifndef _WIN32  // killed through the fault shim
TEST_F(LogTest, ASaveKilledAtAnyWriteEndsWholeOrNotAtAll) {
    // The log's header, the save's record and its sync, six writes into the image (each
    // type-table copy with its sector's checksums, the palette across two sectors with theirs)
    // and their sync, and the mark. The record has reached the log from the third on.
    const int killPoints = 11;
    for (int k = 1; k <= killPoints; ++k) {
        ASSERT_NE(killSave(k), 0) << k;
        EXPECT_EQ(tool("teams game.bin").status, 0);  // opening again is enough
        EXPECT_EQ(readWholeFile(image), k < 3 ? demoImage() : saved) << "killed at " << k;
    }
    EXPECT_EQ(killSave(killPoints + 1), 0) << "a save makes more writes than were tried";
    // A record torn on its way to the disk never reached the image: cut short, or whole in
    // length but not in content, it is dropped.
    for (const bool cut : {true, false}) {
        killSave(3);
        Bytes bytes = readWholeFile(log);
        cut ? bytes.resize(bytes.size() - 10) : void(bytes[bytes.size() - 6] ^= 0xFF);
        writeWholeFile(log, bytes);
        EXPECT_EQ(tool("history game.bin").out, "");
        EXPECT_EQ(readWholeFile(image), demoImage());
    }
}

TEST_F(LogTest, AnInterruptedSaveIsNotForcedOnAnImageChangedSince) {
    ASSERT_NE(killSave(5), 0);
    Bytes changed = demoImage();
    changed[kTeams[13].paletteOffset] ^= 0xFF;  // neither the old nor the new byte
    writeWholeFile(image, changed);
    const ToolRun run = tool("teams game.bin");
    EXPECT_NE(run.err.find("NON completata"), std::string::npos) << run.err;
    EXPECT_EQ(readWholeFile(image), changed);
    EXPECT_TRUE(std::filesystem::exists(log + ".1")) << "the log is kept aside";

    // A log that no longer describes its image (a fresh copy) is kept aside too, and so is a
    // log damaged before its end.
    EXPECT_EQ(tool("apply game.bin denmark --design 1").status, 0);
    writeWholeFile(image, demoImage());
    EXPECT_NE(tool("history game.bin").err.find("non corrisponde"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(log + ".2"));
    EXPECT_EQ(tool("apply game.bin denmark --design 1").status, 0);
    EXPECT_EQ(tool("nets game.bin rombi").status, 0);
    Bytes damaged = readWholeFile(log);
    damaged[40] ^= 0xFF;  // inside the first record
    writeWholeFile(log, damaged);
    EXPECT_NE(tool("history game.bin").err.find("conservato com'era in"), std::string::npos);
    EXPECT_EQ(readWholeFile(log + ".3"), damaged);
}
#endif

TEST_F(LogTest, UndoAndAPatchGiveBackExactImages) {
    writeWholeFile(dir.file("plan.txt"), "Italy 3\nParma 58\n");
    Bytes stale = demoImage();
    stale[3000 * kRawSectorSize + 2100] ^= 1;  // an ECC byte: a repair is a change too
    writeWholeFile(image, stale);
    for (const char* change :
         {"apply game.bin denmark --design 58", "apply game.bin 80 --file a.flg",
          "nets game.bin rombi", "apply game.bin --plan plan.txt", "fix-checksums game.bin --all"})
        ASSERT_EQ(tool(change).status, 0) << change;
    const Bytes edited = readWholeFile(image);

    ASSERT_EQ(tool("patch game.bin mod.ppf --description 'Denmark, Bayer, nets'").status, 0);
#ifndef _WIN32  // Python is Linux's; the cross-system test compares the patch with Linux's
    writeWholeFile(dir.file("copy.bin"), stale);
    ASSERT_EQ(std::system(("python3 " TAVREL_APPLY_PPF " " + dir.file("mod.ppf") + " " +
                           dir.file("copy.bin"))
                              .c_str()),
              0);
    EXPECT_EQ(readWholeFile(dir.file("copy.bin")), edited);
#endif

    EXPECT_EQ(tool("undo game.bin --steps 6").status, 2) << "five changes only";
    EXPECT_EQ(tool("undo game.bin --steps 5").status, 0);
    EXPECT_EQ(readWholeFile(image), stale);
    EXPECT_EQ(tool("undo game.bin").status, 2);

    // Undo refuses where another program changed a place since.
    ASSERT_EQ(tool("apply game.bin denmark --design 58").status, 0);
    ASSERT_EQ(tool("nets game.bin rombi").status, 0);
    Bytes changed = readWholeFile(image);
    changed[kTypeTableCopies[2] + 13] = 0x77;
    writeWholeFile(image, changed);
    EXPECT_EQ(tool("undo game.bin").status, 0);  // the nets: still as their change left them
    changed = readWholeFile(image);
    EXPECT_EQ(changed[kNetsOffset], 0x00);
    const ToolRun refused = tool("undo game.bin");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("un altro programma"), std::string::npos) << refused.err;
    EXPECT_EQ(readWholeFile(image), changed);
}

TEST_F(LogTest, WithoutAPlaceForTheLogTheToolWarnsAndWrites) {
    // Root writes into any folder, so a folder stands where the log would be created.
    std::filesystem::create_directory(log);
    const ToolRun run = tool("apply game.bin denmark --design 58");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("senza registro"), std::string::npos) << run.err;
    EXPECT_EQ(readWholeFile(image), saved);
}

}  // namespace
}  // namespace tavrel::testing
