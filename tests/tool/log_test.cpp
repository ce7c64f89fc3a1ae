// The change log through tavrel-tool: undo and a PPF patch give back exact images, and undo
// refuses whole where another program changed a place.
#include <nlohmann/json.hpp>

#include "catalog/catalog.h"
#include "game/game_places.h"
#include "journal/change_log.h"
#include "tool_fixture.h"

namespace tavrel::testing {
namespace {

class LogTest : public ToolTest {
protected:
    std::string log = ChangeLog::pathFor(image);
};

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

    ASSERT_EQ(tool("patch game.bin mod.ppf --description \"Denmark, Bayer, nets\"").status, 0);
#ifndef _WIN32  // Python is Linux's; the cross-system test compares the patch with Linux's
    writeWholeFile(dir.file("copy.bin"), stale);
    ASSERT_EQ(std::system(("python3 " TAVREL_APPLY_PPF " " + dir.file("mod.ppf") + " " +
                           dir.file("copy.bin"))
                              .c_str()),
              0);
    EXPECT_EQ(readWholeFile(dir.file("copy.bin")), edited);
#endif

    EXPECT_NE(tool("history game.bin --json")
                  .out.find("\"checksum_sectors\": 1, \"description\": \"EDC ed ECC riscritti"),
              std::string::npos);
    EXPECT_EQ(tool("undo game.bin --steps 6").status, 2) << "five changes only";
    EXPECT_EQ(tool("undo game.bin --steps 5").status, 0);
    EXPECT_EQ(readWholeFile(image), stale);
    // Each change named as the window names it; those taken back listed as such.
    std::vector<std::string> states, names;
    for (const auto& change : nlohmann::json::parse(tool("history game.bin --json").out)) {
        states.push_back(change["state"]);
        names.push_back(change["description"]);
    }
    using Texts = std::vector<std::string>;
    EXPECT_EQ(states, (Texts{"undone", "undone", "undone", "undone", "undone", "done"}));
    EXPECT_EQ(names, (Texts{"Salva Denmark: N° 58", "Import a.flg → Bayer Monaco", "Reti: Rombi",
                            "Piano plan.txt: 2 bandiere", "EDC ed ECC riscritti: 1 settore",
                            "Annulla le modifiche 5, 4, 3, 2, 1"}));
    EXPECT_NE(tool("history game.bin").out.find("annullata"), std::string::npos);
    EXPECT_EQ(tool("undo game.bin").status, 2);

    // Undo refuses where another program changed a place since.
    ASSERT_EQ(tool("apply game.bin denmark --design 58").status, 0);
    ASSERT_EQ(tool("nets game.bin rombi").status, 0);
    Bytes changed = readWholeFile(image);
    changed[kTypeTableCopies[2] + 13] = 0x77;
    writeWholeFile(image, changed);
    // Both steps, or none: the second one is refused, so the first is not written either.
    const ToolRun refused = tool("undo game.bin --steps 2");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("un altro programma"), std::string::npos) << refused.err;
    EXPECT_EQ(readWholeFile(image), changed);
}

}  // namespace
}  // namespace tavrel::testing
