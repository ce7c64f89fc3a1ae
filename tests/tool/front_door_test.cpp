// What tavrel-tool says before any command runs: refusals of the command line in one Italian
// line (a mistyped command with the one meant), its help in Italian within 80 columns, its
// version. (The words it offers bash's completion are tried through bash, in the .deb's test.)
#include <regex>
#include <sstream>

#include "tool_fixture.h"

namespace tavrel::testing {
namespace {

TEST_F(ToolTest, RefusesACommandLineInOneItalianLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"",
         "manca il comando, uno di: teams, show, apply, export, nets, verify, fix-checksums, "
         "history, undo, patch, apply-patch, diff, info, catalog, render (tavrel-tool --help li "
         "descrive)"},
        {"tems game.bin", "comando sconosciuto: \"tems\" (forse \"teams\"?)"},
        {"Teams game.bin", "comando sconosciuto: \"Teams\" (forse \"teams\"?)"},
        {"histroy game.bin", "comando sconosciuto: \"histroy\" (forse \"history\"?)"},
        {"fix game.bin", "comando sconosciuto: \"fix\" (forse \"fix-checksums\"?)"},
        {"game.bin teams",
         "comando sconosciuto: \"game.bin\" (i comandi: teams, show, apply, export, nets, "
         "verify, fix-checksums, history, undo, patch, apply-patch, diff, info, catalog, render)"},
        {"--json teams game.bin",
         "opzione sconosciuta: --json (le opzioni di un comando vanno "
         "dopo il suo nome; tavrel-tool --help)"},
        {"teams", "manca l'argomento IMAGE; tavrel-tool teams --help lo spiega"},
        {"teams game.bin --jsn", "opzione sconosciuta: --jsn; tavrel-tool teams --help lo spiega"},
        {"catalog 3 4 5", "argomenti di troppo: \"4\" \"5\"; tavrel-tool catalog --help lo spiega"},
        {"apply game.bin 13 --design 1 --file a.flg",
         "--design e --file non vanno insieme; tavrel-tool apply --help lo spiega"},
        {"undo game.bin --steps", "--steps vuole un valore; tavrel-tool undo --help lo spiega"},
        {"undo game.bin --steps due",
         "--steps non accetta il valore \"due\"; tavrel-tool undo --help lo spiega"},
    };
    for (const auto& [arguments, message] : cases) {
        const ToolRun run = tool(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.err, std::string("tavrel-tool: ") + message + "\n") << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
    EXPECT_EQ(readWholeFile(image), demoImage());
}

TEST_F(ToolTest, HelpIsItalianWithinEightyColumns) {
    const ToolRun version = tool("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("tavrel-tool [0-9]+\\.[0-9]+\n")))
        << version.out;
    std::istringstream commands(tool("__complete \"\"").out);
    std::string command;
    std::getline(commands, command);  // "words"
    int pages = 0;
    for (; std::getline(commands, command); ++pages) {
        const std::string arguments = command.starts_with("-") ? "" : command + " --help";
        const ToolRun run = tool(arguments.empty() ? "--help" : arguments);
        EXPECT_EQ(run.status, 0) << arguments;
        EXPECT_NE(run.out.find("Uso: tavrel-tool"), std::string::npos) << arguments;
        // CLI11's own words, which the tool must not show.
        EXPECT_FALSE(std::regex_search(run.out, std::regex("Usage|Options|Positionals|Subcommand|"
                                                           "REQUIRED|TEXT|INT\\b|Print this")))
            << run.out;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            const auto columns = std::count_if(line.begin(), line.end(),
                                               [](unsigned char c) { return (c & 0xC0) != 0x80; });
            EXPECT_LE(columns, 80) << line;
        }
    }
    EXPECT_GT(pages, 11) << "every command's page and the program's";
}

#ifndef _WIN32
TEST_F(ToolTest, TeamsHasAHeaderOnlyForATerminal) {
    // script(1) gives the tool a terminal for its standard output.
    const std::string command = std::string("-qec '") + TAVREL_TOOL + " teams game.bin' /dev/null";
    ASSERT_EQ(runProgram("script", command, {dir.path(), "", "out.txt", "err.txt"}), 0);
    EXPECT_TRUE(text("out.txt").starts_with(" #  Squadra  ")) << text("out.txt").substr(0, 80);
    EXPECT_TRUE(tool("teams game.bin").out.starts_with(" 0  Ireland  "));
}
#endif

}  // namespace
}  // namespace tavrel::testing
