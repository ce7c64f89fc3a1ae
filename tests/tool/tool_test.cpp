// tavrel-tool run as a user runs it: arguments, exit statuses, refusals that write nothing,
// and one run of each command on demo images, checked against GameImage and whole files;
// render's PNG files read back by an independent reader.
#include <fstream>

#include <nlohmann/json.hpp>

#include "catalog/catalog.h"
#include "catalog/flag_draft.h"
#include "game/colour_word.h"
#include "game/flag_files.h"
#include "game/game_image.h"
#include "journal/image_session.h"
#include "raw_image_builder.h"
#include "tool/tool_text.h"
#include "tool_fixture.h"

namespace tavrel::testing {
namespace {

TEST_F(ToolTest, RefusesWhatItCannotDoAndWritesNothing) {
    Bytes cut = demoImage();
    cut.resize(12552318 + 28);  // Bayer Monaco's palette ends past the end
    writeWholeFile(dir.file("short.bin"), cut);
    writeWholeFile(dir.file("bad.flg"), "0G" + formatFlagRecord(unusualFlag()).substr(2));
    writeWholeFile(dir.file("huge.txt"), std::string((1 << 20) + 1, '#'));
    writeWholeFile(dir.file("old.ppf"), "a patch kept");
    const std::pair<const char*, int> cases[] = {
        {"show game.bin atlantis", 2},
        {"show game.bin 59", 2},
        {"show game.bin 86", 2},
        {"apply game.bin 13 --design 136", 2},
        {"apply game.bin 13", 2},
        {"apply game.bin 13 --file bad.flg", 2},
        {"apply game.bin --plan huge.txt --type 07", 2},
        {"render --design 1 --png game.bin", 2},
        {"render game.bin parma --png new.png", 2},
        {"render game.bin --png new.png", 2},
        {"render game.bin 13 --design 1 --png new.png", 2},
        {"render --design 1 --png new.png --scale 65", 2},
        {"render --design 1 --type 0D --png new.png", 2},
        {"apply short.bin 80 --design 1", 2},
        {"nets game.bin quadri", 2},
        {"export game.bin parma", 2},
        {"catalog 0", 2},
        {"apply game.bin --plan .", 2},
        {"apply game.bin --plan huge.txt", 2},
        {"patch game.bin game.bin", 2},
        {"patch game.bin ./game.bin.tavrel-log", 2},
        {"patch game.bin .", 2},
        {"patch game.bin old.ppf", 2},
        {"teams missing.bin", 1},
        {"apply game.bin 13 --file missing.flg", 1},
        {"export game.bin 13 --to missing-folder", 1},
    };
    for (const auto& [arguments, status] : cases) {
        const ToolRun run = runHere(dir.path(), arguments);
        EXPECT_EQ(run.status, status) << arguments << "\n" << run.err;
        EXPECT_EQ(run.err.empty(), status == 0) << arguments;
    }
    EXPECT_EQ(readWholeFile(image), demoImage());
    EXPECT_EQ(readWholeFile(dir.file("short.bin")), cut);
    EXPECT_EQ(readWholeFile(dir.file("old.ppf")),
              Bytes({'a', ' ', 'p', 'a', 't', 'c', 'h', ' ', 'k', 'e', 'p', 't'}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("game.bin.tavrel-log")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.png")));
    EXPECT_EQ(runHere(dir.path(), "patch game.bin old.ppf --force").status, 0);
    EXPECT_NE(runHere(dir.path(), "show game.bin atlantis").err.find("squadra sconosciuta"),
              std::string::npos);
}

TEST_F(ToolTest, TeamsHistoryAndTheCatalogAnswerInJson) {
    ASSERT_EQ(tool("apply game.bin 13 --design 4").status, 0);
    const auto teams = nlohmann::json::parse(tool("teams game.bin --json").out);
    ASSERT_EQ(teams.size(), std::size_t(kTeamCount));
    ImageSession file(image, ImageAccess::ReadOnly);
    const GameImage game(file);
    for (int team = 0; team < kTeamCount; ++team) {
        const auto& entry = teams[static_cast<std::size_t>(team)];
        EXPECT_EQ(entry["name"], game.teamName(team));
        // Every design the flag equals (some designs are alike); none without colours.
        const int design = team == 13 ? 4 : catalogPosition(demoDesign(team));
        const auto& designs = entry["designs"];
        EXPECT_EQ(std::count(designs.begin(), designs.end(), design), hasPalette(team) ? 1 : 0);
        EXPECT_EQ(entry["colours"].is_null(), !hasPalette(team));
    }
    const auto history = nlohmann::json::parse(tool("history game.bin --json").out);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0]["description"], "Salva Denmark: N° 4");
    EXPECT_EQ(history[0]["checksum_sectors"], 7) << "five type-table copies, two palette sectors";
    const auto catalog = nlohmann::json::parse(tool("catalog --json").out);
    ASSERT_EQ(catalog.size(), std::size_t(kCatalogSize));
    EXPECT_EQ(catalog[57]["type"], "0A");
    EXPECT_EQ(catalog[81]["name"], "Italy");
    EXPECT_EQ(teams[13]["names"], nlohmann::json::array({"Roundel"}));
    EXPECT_EQ(nlohmann::json::parse(tool("nets game.bin --json").out)["nets"], "normali");
}

TEST_F(ToolTest, ApplyAndShowRoundTripDesigns) {
    for (const int number : {1, 58, 135}) {
        const int team = (number * 7) % 54;  // national teams, all with a palette
        const std::string n = std::to_string(number);
        ASSERT_EQ(tool("apply game.bin " + std::to_string(team) + " --design " + n).status, 0);
        const int id = catalogIdAt(number);
        EXPECT_EQ(tool("show game.bin " + std::to_string(team)).out,
                  formatFlagRecord(catalogFlag(id)) + "\ntipo " +
                      tool::hexByte(catalogFlag(id).type) + ", N° " + n + " " +
                      std::string(catalogName(id)) + "\n");
    }
    writeWholeFile(image, demoImage());
    EXPECT_EQ(tool("apply game.bin \"bayer monaco\" --file a.flg").status, 0);
    EXPECT_EQ(readWholeFile(image), withFlag(demoImage(), 80, unusualFlag()));

    // Colours of one's own: 182's colour 3 is 7FFF, its bit 15 stays clear.
    writeWholeFile(image, demoImage());
    ASSERT_EQ(tool("apply game.bin 13 --design 82 --colour 3=#FF0000 --type 07").status, 0);
    Flag own = catalogFlag(182);
    setColourWord(own, 3, 0x001F);
    own.type = 0x07;
    EXPECT_EQ(readWholeFile(image), withFlag(demoImage(), 13, own));
    EXPECT_EQ(
        tool("show game.bin 13").out,
        formatFlagRecord(own) + "\ntipo 07, personalizzata (la più vicina: N° 97 Sierra Leone)\n");
}

TEST_F(ToolTest, ExportedFlagsApplyAsAPlanToAnotherImage) {
    ASSERT_EQ(tool("apply game.bin 13 --file a.flg").status, 0);
    std::filesystem::create_directory(dir.file("flags"));
    ASSERT_EQ(tool("export game.bin --to flags").status, 0);
    std::ofstream plan(dir.file("flags/plan.txt"));
    plan << "# every exported flag\n\n";
    ImageSession file(image, ImageAccess::ReadOnly);
    const GameImage game(file);
    for (int team = 0; team < kTeamCount; ++team) {
        if (!hasPalette(team))
            continue;
        plan << '"' << kTeams[static_cast<std::size_t>(team)].label << "\" \""
             << *flagFileName(game.teamName(team)) << "\"\n";
    }
    plan.close();
    const Bytes expected = readWholeFile(image);  // the flags, and the checksums they carry
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

// Sector 16 a console disc's volume descriptor whose root directory (sector 22) lists SYSTEM.CNF
// (sector 23).
Bytes withBootFile(Bytes image) {
    const auto put = [&](std::int64_t sector, std::size_t at, std::string_view bytes) {
        std::copy(bytes.begin(), bytes.end(), image.begin() + sector * kRawSectorSize + 24 + at);
    };
    const std::string_view cnf = "BOOT = cdrom:\\TEST_012.34;1\r\nTCB = 4\r\n";
    put(16, 0, std::string_view("\1CD001\1", 7));
    put(16, 40, "TAVREL TEST");
    put(16, 1024, "CD-XA001");
    put(16, 156, std::string_view("\42\0\26\0\0\0\0\0\0\0\0\10\0\0", 14));
    put(22, 0, std::string_view("\56\0\27\0\0\0\0\0\0\0", 10));
    put(22, 10, std::string_view("\46\0\0\0", 4));  // SYSTEM.CNF's length: 38 bytes
    put(22, 32, std::string_view("\14SYSTEM.CNF;1", 13));
    put(23, 0, cnf);
    return build::RawImageBuilder(std::move(image)).bytes();
}

TEST_F(ToolTest, InfoSaysWhatTheFileIsAndItsDigests) {
    writeWholeFile(image, withBootFile(demoImage()));
    const ToolRun info = runHere(dir.path(), "info game.bin --json");
    ASSERT_EQ(info.status, 0) << info.err;
    const auto found = nlohmann::json::parse(info.out);
    EXPECT_EQ(found["volume"]["name"], "TAVREL TEST");
    EXPECT_EQ(found["boot_file"], "TEST_012.34");
    EXPECT_EQ(found["game"], true);
    EXPECT_EQ(found["sectors"]["mode2_form1"], 6110);
#ifndef _WIN32  // Python is Linux's; the cross-system test compares Windows' digests with these
    ASSERT_EQ(std::system(("python3 -c \"import hashlib, sys, zlib; b = open(sys.argv[1], 'rb')"
                           ".read(); print('%08x %s %s' % (zlib.crc32(b), hashlib.md5(b)"
                           ".hexdigest(), hashlib.sha1(b).hexdigest()))\" " +
                           image + " > " + dir.file("python.txt"))
                              .c_str()),
              0);
    EXPECT_EQ(text("python.txt"), found["crc32"].get<std::string>() + " " +
                                      found["md5"].get<std::string>() + " " +
                                      found["sha1"].get<std::string>() + "\n");
#endif
}

TEST_F(ToolTest, EveryWriteRefusesAFileThatIsNotTheGameUnlessForced) {
    const Bytes zeros(14 << 20);
    writeWholeFile(dir.file("zeros.bin"), zeros);
    writeWholeFile(dir.file("copy.bin"), zeros);
    ASSERT_EQ(runHere(dir.path(), "nets copy.bin rombi --force").status, 0);
    ASSERT_EQ(runHere(dir.path(), "patch copy.bin nets.ppf").status, 0);
    for (const char* command :
         {"apply zeros.bin 13 --design 5", "nets zeros.bin rombi", "apply-patch zeros.bin nets.ppf",
          "fix-checksums zeros.bin --all"}) {
        const ToolRun refused = runHere(dir.path(), command);
        EXPECT_EQ(refused.status, 2) << command;
        EXPECT_NE(refused.err.find("non sembra contenere il gioco"), std::string::npos) << command;
        EXPECT_EQ(readWholeFile(dir.file("zeros.bin")), zeros) << command;
        EXPECT_EQ(runHere(dir.path(), std::string(command) + " --force").status, 0) << command;
        writeWholeFile(dir.file("zeros.bin"), zeros);
        std::filesystem::remove(dir.file("zeros.bin.tavrel-log"));
    }
}

#ifndef _WIN32  // Python is Linux's; the cross-system test compares Windows' files with Linux's
TEST_F(ToolTest, RenderWritesWhatTheRendererDraws) {
    Flag custom = catalogFlag(182);
    setColourWord(custom, 1, kTransparentWord);
    writeWholeFile(dir.file("custom.flg"), formatFlagRecord(custom) + "\r\n");
    FlagDraft changed = FlagDraft::ofDesign(182);
    changed.setColour(3, {0x12, 0x34, 0x56});
    changed.setType(0x07);
    // Pitch and ball has a transparent colour; Denmark wears design 114 in the demo image.
    const std::pair<std::string, FlagPicture> cases[] = {
        {"--design 9", *FlagDraft::ofDesign(109).picture()},
        {"game.bin denmark --scale 5", *FlagDraft::ofDesign(114).picture(5)},
        {"--file custom.flg --scale 3", *FlagDraft::ofFlag(custom).picture(3)},
        {"--design 82 --colour 3=#123456 --type 07 --scale 2", *changed.picture(2)},
    };
    for (const auto& [arguments, expected] : cases) {
        const ToolRun run = tool("render " + arguments + " --png out.png");
        ASSERT_EQ(run.status, 0) << arguments << ": " << run.err;
        ASSERT_EQ(std::system(("python3 " TAVREL_READ_PNG " " + dir.file("out.png") + " " +
                               dir.file("out.rgba"))
                                  .c_str()),
                  0);
        Bytes pixels;  // width and height as 32-bit little-endian numbers, then the pixels
        for (const int size : {expected.width, expected.height})
            pixels.insert(pixels.end(), {std::uint8_t(size), std::uint8_t(size >> 8), 0, 0});
        for (const Rgba8& p : expected.pixels)
            pixels.insert(pixels.end(), {p.red, p.green, p.blue, p.alpha});
        EXPECT_TRUE(readWholeFile(dir.file("out.rgba")) == pixels) << arguments;
    }
}
#endif

}  // namespace
}  // namespace tavrel::testing
