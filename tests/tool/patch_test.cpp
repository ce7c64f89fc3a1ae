// Patches out and in through tavrel-tool: round trips through PPF and VCDIFF with Debian's
// xdelta3 as the independent applier and maker, another mod of the same team refused by name and
// one of another team merged, patches for another image refused, and bad patches refused with
// nothing written. The change log through tavrel-tool: undo and a PPF patch give back exact
// images, and undo refuses whole where another program changed a place.
#include <cstdlib>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "catalog/catalog.h"
#include "game/game_places.h"
#include "game/team_table.h"
#include "journal/change_log.h"
#include "sector/byte_order.h"
#include "tool_fixture.h"

namespace tavrel::testing {
namespace {

void putText(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

// A PPF patch from `from` to `to` as other programs write one, without undo data: version 1;
// 2 with the image's size; 2 and 3 with the block check and a file_id.diz.
Bytes otherProgramsPpf(const Bytes& from, const Bytes& to, int version) {
    Bytes patch;
    putText(patch, "PPF" + std::to_string(version) + "0");
    patch.push_back(static_cast<std::uint8_t>(version - 1));
    putText(patch, std::string("made elsewhere").append(36, ' '));
    if (version == 2)
        appendLittleEndian(patch, from.size(), 4);
    if (version == 3)
        patch.insert(patch.end(), {0, 1, 0, 0});  // a .bin, block check on, no undo data
    if (version > 1)
        patch.insert(patch.end(), from.begin() + 0x9320, from.begin() + 0x9320 + 1024);
    const std::set<std::int64_t> offsets = differingOffsets(from, to);
    for (auto at = offsets.begin(); at != offsets.end();) {
        Bytes bytes;
        const std::int64_t first = *at;
        for (; at != offsets.end() && *at == first + static_cast<std::int64_t>(bytes.size()) &&
               bytes.size() < 255;
             ++at)
            bytes.push_back(to[static_cast<std::size_t>(*at)]);
        appendLittleEndian(patch, static_cast<std::uint64_t>(first), version == 3 ? 8 : 4);
        patch.push_back(static_cast<std::uint8_t>(bytes.size()));
        patch.insert(patch.end(), bytes.begin(), bytes.end());
    }
    if (version > 1) {
        putText(patch,
                "@BEGIN_FILE_ID.DIZ"
                "Denmark, by a friend"
                "@END_FILE_ID.DIZ");
        appendLittleEndian(patch, 20, version == 2 ? 4 : 2);
    }
    return patch;
}

class PatchTest : public ToolTest {
protected:
    // The demo image with the plan's flags, as game.bin; its log starts empty.
    Bytes edit(const std::string& plan) {
        writeWholeFile(image, demoImage());
        std::filesystem::remove(ChangeLog::pathFor(image));
        writeWholeFile(dir.file("plan.txt"), plan);
        EXPECT_EQ(tool("apply game.bin --plan plan.txt").status, 0) << plan;
        return readWholeFile(image);
    }
    // A demo image with `plan` applied, as `name`.
    Bytes other(const std::string& name, const std::string& plan) {
        writeWholeFile(dir.file(name), demoImage());
        writeWholeFile(dir.file("other.txt"), plan);
        EXPECT_EQ(tool("apply " + name + " --plan other.txt").status, 0);
        return readWholeFile(dir.file(name));
    }
};

TEST_F(PatchTest, PatchesOfOneAndOfEveryTeamGiveTheEditedImageByteForByte) {
    std::string everyTeam;
    for (int team = 0; team < kTeamCount; ++team) {
        if (team != 80)
            everyTeam += std::to_string(team) + " " + std::to_string((team * 7) % 135 + 1) + "\n";
    }
    const std::pair<std::string, std::size_t> mods[] = {
        {"Denmark 58\n", 1024},  // one team's VCDIFF patch stays under 1 KiB
        {everyTeam + "\"Bayer Monaco\" a.flg\n", 8192},
    };
    for (const auto& [plan, largest] : mods) {
        const Bytes edited = edit(plan);
        writeWholeFile(dir.file("pristine.bin"), demoImage());
        for (const char* patch : {"mod.ppf", "mod.xdelta", "mod.bin --format vcdiff"}) {
            const std::string name = std::string(patch).substr(0, std::string(patch).find(' '));
            ASSERT_EQ(tool(std::string("patch game.bin ") + patch + " --force").status, 0);
            writeWholeFile(dir.file("copy.bin"), demoImage());
            const ToolRun applied = tool("apply-patch copy.bin " + name);
            ASSERT_EQ(applied.status, 0) << patch << applied.err;
            EXPECT_EQ(readWholeFile(dir.file("copy.bin")), edited) << patch;
            ASSERT_EQ(tool("undo copy.bin").status, 0);
            EXPECT_EQ(readWholeFile(dir.file("copy.bin")), demoImage()) << patch;
            if (name == "mod.ppf")
                continue;
            EXPECT_LT(std::filesystem::file_size(dir.file(name)), largest) << plan;
#ifndef _WIN32  // Debian's xdelta3 applies it to the unmodified image
            ASSERT_EQ(std::system(("cd " + dir.path().string() +
                                   " && xdelta3 -d -f -s pristine.bin " + name + " out.bin")
                                      .c_str()),
                      0);
            EXPECT_EQ(readWholeFile(dir.file("out.bin")), edited) << patch;
#endif
        }
#ifndef _WIN32  // and makes one that the tool applies
        ASSERT_EQ(std::system(("cd " + dir.path().string() +
                               " && xdelta3 -e -f -S none -s pristine.bin game.bin theirs.vcdiff")
                                  .c_str()),
                  0);
        writeWholeFile(dir.file("copy.bin"), demoImage());
        EXPECT_EQ(tool("apply-patch copy.bin theirs.vcdiff").status, 0);
        EXPECT_EQ(readWholeFile(dir.file("copy.bin")), edited);
#endif
    }
}

TEST_F(PatchTest, AnotherModOfTheSameTeamIsRefusedOneOfAnotherTeamIsMerged) {
    const Bytes edited = edit("Denmark 58\n");
    ASSERT_EQ(tool("patch game.bin mod.ppf").status, 0);
    ASSERT_EQ(tool("patch game.bin mod.xdelta").status, 0);
    writeWholeFile(dir.file("mod2.ppf"), otherProgramsPpf(demoImage(), edited, 2));
    writeWholeFile(dir.file("mod3.ppf"), otherProgramsPpf(demoImage(), edited, 3));
    const Bytes both = other("both.bin", "Italy 7\nDenmark 58\n");
    for (const char* patch : {"mod.ppf", "mod.xdelta", "mod2.ppf", "mod3.ppf"}) {
        const Bytes clash = other("clash.bin", "Denmark 3\n");
        const ToolRun refused = tool(std::string("apply-patch clash.bin ") + patch);
        EXPECT_EQ(refused.status, 2) << patch;
        EXPECT_NE(refused.err.find("Denmark: tavolozza cambiata da un'altra modifica"),
                  std::string::npos)
            << patch << refused.err;
        EXPECT_EQ(readWholeFile(dir.file("clash.bin")), clash) << patch;
        EXPECT_EQ(tool(std::string("apply-patch clash.bin --force ") + patch).status, 0);
        EXPECT_EQ(readWholeFile(dir.file("clash.bin")), edited) << patch;

        // Italy's palette shares a sector with Denmark's: their checksums cover both.
        other("merged.bin", "Italy 7\n");
        EXPECT_EQ(tool(std::string("apply-patch merged.bin ") + patch).status, 0) << patch;
        EXPECT_EQ(readWholeFile(dir.file("merged.bin")), both) << patch;
    }
}

TEST_F(PatchTest, APatchForAnotherImageIsRefused) {
    const Bytes edited = edit("Denmark 58\n");
    ASSERT_EQ(tool("patch game.bin mod.xdelta").status, 0);
    writeWholeFile(dir.file("mod2.ppf"), otherProgramsPpf(demoImage(), edited, 2));
    Bytes another = demoImage();
    another[0x9320] ^= 1;           // the block a PPF 2.0 checks
    another[12549966 - 1000] ^= 1;  // beside Denmark's palette, in its window
    writeWholeFile(dir.file("another.bin"), another);
    for (const char* patch : {"mod.xdelta", "mod2.ppf"}) {
        const ToolRun refused = tool(std::string("apply-patch another.bin ") + patch);
        EXPECT_EQ(refused.status, 2) << patch;
        EXPECT_NE(refused.err.find("è per un'altra immagine"), std::string::npos) << refused.err;
        EXPECT_EQ(readWholeFile(dir.file("another.bin")), another) << patch;
    }
}

TEST_F(PatchTest, BadPatchesAreRefusedWithNothingWritten) {
    edit("Denmark 58\n");
    ASSERT_EQ(tool("patch game.bin mod.ppf").status, 0);
    ASSERT_EQ(tool("patch game.bin mod.xdelta").status, 0);
    const Bytes ppf = readWholeFile(dir.file("mod.ppf")),
                vcdiff = readWholeFile(dir.file("mod.xdelta"));
    const auto ppfWithRecord = [&](std::uint64_t offset, std::uint8_t length) {
        Bytes patch(ppf.begin(), ppf.begin() + 60);
        appendLittleEndian(patch, offset, 8);
        patch.push_back(length);
        patch.insert(patch.end(), 2 * std::size_t{length}, 0x11);
        return patch;
    };
    Bytes wrongVersion = ppf;
    wrongVersion[5] = 1;
    struct Case {
        const char* name;
        Bytes bytes;
        const char* says;
    };
    const Case cases[] = {
        {"cut.ppf", Bytes(ppf.begin(), ppf.end() - 10), "è troncata"},
        {"cut.xdelta", Bytes(vcdiff.begin(), vcdiff.end() - 1), "è troncata"},
        {"magic.ppf", Bytes{'P', 'K', 3, 4, 20, 0}, "non è una patch PPF o VCDIFF"},
        {"version.ppf", wrongVersion, "versione di patch"},
        {"past.ppf", ppfWithRecord(demoImage().size() - 2, 4), "oltre la fine dell'immagine"},
        {"empty.ppf", ppfWithRecord(12549966, 0), "blocco di lunghezza 0"},
        {"lzma.xdelta", Bytes{0xD6, 0xC3, 0xC4, 0, 1, 2, 0}, "compressa con LZMA"},
        {"big.ppf", {}, "troppo grande"},
    };
    writeWholeFile(image, demoImage());
    std::filesystem::remove(ChangeLog::pathFor(image));
    for (const Case& bad : cases) {
        writeWholeFile(dir.file(bad.name), bad.bytes);
        if (bad.bytes.empty())
            std::filesystem::resize_file(dir.file(bad.name), (64 << 20) + 1);
        const ToolRun refused = tool(std::string("apply-patch game.bin ") + bad.name);
        EXPECT_EQ(refused.status, 2) << bad.name;
        EXPECT_NE(refused.err.find(bad.says), std::string::npos) << bad.name << refused.err;
        EXPECT_NE(refused.err.find("nulla è stato scritto"), std::string::npos) << bad.name;
    }
    EXPECT_EQ(readWholeFile(image), demoImage());
    EXPECT_FALSE(std::filesystem::exists(ChangeLog::pathFor(image)));
}

TEST_F(PatchTest, ADryRunSaysWhatWouldChangeAndBytesOutsideThePlacesAreSaid) {
    Bytes modded = edit("Denmark 58\n");
    for (int i = 0; i < 40; ++i) modded[100 * kRawSectorSize + 500 + i] ^= 0x5A;
    writeWholeFile(dir.file("mod.ppf"), otherProgramsPpf(demoImage(), modded, 1));
    writeWholeFile(image, demoImage());
    const ToolRun dry = tool("apply-patch game.bin mod.ppf --dry-run");
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out,
              "Denmark: tipo, tavolozza\nfuori dai posti del gioco: 40 byte in 1 settore\n"
              "413 byte da scrivere; nulla è stato scritto (--dry-run)\n");
    EXPECT_EQ(readWholeFile(image), demoImage());
    EXPECT_FALSE(std::filesystem::exists(ChangeLog::pathFor(image)));

    // The patch leaves that sector's checksums as they were: the write computes them.
    ASSERT_EQ(tool("apply-patch game.bin mod.ppf").status, 0);
    EXPECT_EQ(tool("verify game.bin").status, 0);
    for (const std::int64_t offset : differingOffsets(modded, readWholeFile(image)))
        EXPECT_EQ(offset / kRawSectorSize * kRawSectorSize + 2072 <= offset &&
                      offset < 101 * kRawSectorSize,
                  true)
            << offset;
}

TEST_F(PatchTest, ADiffOfTwoImagesPlansTheFirstIntoTheSecond) {
    const Bytes first = other("first.bin", "Denmark 58\nItaly 3\nParma 58\n");
    const Bytes second = other("second.bin", "Denmark 4\n\"Bayer Monaco\" a.flg\nNewcastle 9\n");
    const ToolRun listed = tool("diff first.bin second.bin");
    EXPECT_EQ(
        listed.out.substr(0, listed.out.find("EDC")),
        "Italy: tipo 02 → 25, tavolozza\nDenmark: tipo 0A → 37, tavolozza\n"
        "Newcastle: tipo 08 → 28\nParma: tipo 38 → 23\nBayer Monaco: tipo 23 → A7, tavolozza\n");
    const ToolRun plan = tool("diff first.bin second.bin --plan");
    ASSERT_EQ(plan.status, 0);
    writeWholeFile(dir.file("diff.txt"), plan.out);
    ASSERT_EQ(tool("apply first.bin --plan diff.txt").status, 0);
    EXPECT_EQ(readWholeFile(dir.file("first.bin")), second);
    EXPECT_EQ(tool("diff first.bin second.bin").out, "nessuna differenza\n");
}

TEST_F(PatchTest, UndoAndAPatchGiveBackExactImages) {
    writeWholeFile(dir.file("plan.txt"), "Italy 3\nParma 58\n");
    // A sector's EDC and ECC all wrong: a repair is a change too, of a run longer than a PPF
    // record holds.
    Bytes stale = demoImage();
    for (std::int64_t at = 2072; at < kRawSectorSize; ++at) stale[3000 * kRawSectorSize + at] ^= 1;
    writeWholeFile(image, stale);
    for (const char* change :
         {"apply game.bin denmark --design 58", "apply game.bin 80 --file a.flg",
          "nets game.bin rombi", "apply game.bin --plan plan.txt", "fix-checksums game.bin --all"})
        ASSERT_EQ(tool(change).status, 0) << change;
    const Bytes edited = readWholeFile(image);

    // The first and fourth changes carry the checksums of one sector: the patch's undo data,
    // which apply-patch checks, are the bytes before the first.
    ASSERT_EQ(tool("patch game.bin mod.ppf --description \"Denmark, Bayer, nets\"").status, 0);
    EXPECT_NE(text("mod.ppf").find("Denmark, Bayer, nets"), std::string::npos);
    writeWholeFile(dir.file("copy.bin"), stale);
    EXPECT_EQ(tool("apply-patch copy.bin mod.ppf").status, 0);
    EXPECT_EQ(readWholeFile(dir.file("copy.bin")), edited);
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
