// How tavrel-tool meets its command line: each command declares its own arguments and options
// on the parser, in a file of its own, and runs once they are read, leaving its exit status.
#pragma once

#include <CLI/CLI.hpp>

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "tool/parser_text.h"

namespace tavrel::tool {

struct Streams {
    std::ostream& out;
    std::ostream& err;
    std::istream& in;  // a plan given as "-"
};

// Adds one command to `app`; once parsed it runs with `io` and sets `status`.
using AddCommand = void (*)(CLI::App& app, Streams io, int& status);

void addTeamsCommand(CLI::App& app, Streams io, int& status);
void addShowCommand(CLI::App& app, Streams io, int& status);
void addApplyCommand(CLI::App& app, Streams io, int& status);
void addExportCommand(CLI::App& app, Streams io, int& status);
void addNetsCommand(CLI::App& app, Streams io, int& status);
void addVerifyCommand(CLI::App& app, Streams io, int& status);
void addFixChecksumsCommand(CLI::App& app, Streams io, int& status);
void addHistoryCommand(CLI::App& app, Streams io, int& status);
void addUndoCommand(CLI::App& app, Streams io, int& status);
void addPatchCommand(CLI::App& app, Streams io, int& status);
void addApplyPatchCommand(CLI::App& app, Streams io, int& status);
void addDiffCommand(CLI::App& app, Streams io, int& status);
void addInfoCommand(CLI::App& app, Streams io, int& status);
void addCatalogCommand(CLI::App& app, Streams io, int& status);
void addRenderCommand(CLI::App& app, Streams io, int& status);

// Adds the command `name`: its options, an `Options` that declares them on the parser, are
// filled as the command line is read, and then `run` runs with them and sets `status`.
template <typename Options>
void addCommand(CLI::App& app, const char* name, const char* help, Streams io, int& status,
                int (*run)(const Options&, Streams)) {
    auto* command = app.add_subcommand(name, help);
    speakItalian(*command);
    auto options = std::make_shared<Options>();
    options->declare(*command);
    command->callback([options, io, &status, run] { status = run(*options, io); });
}

// The options of a command that reads one image and may answer in JSON.
struct ImageOptions {
    std::string image;
    bool json = false;

    void declare(CLI::App& command);
};

// The IMAGE argument and the --json flag, as every command that has them words them.
void addImageArgument(CLI::App* command, std::string& image);
void addJsonFlag(CLI::App* command, bool& json);
inline constexpr const char* kTeamHelp =
    "la squadra: indice 0–85 o nome della lista (\"Bayer Monaco\")";

// The names of the commands, in the order the help lists them.
std::vector<std::string> commandNames(const CLI::App& app);

// The shell's completion asks the tool (tavrel-tool __complete WORD... TYPED) what may replace
// the word being typed, TYPED, after the words before it: prints "files", "folders", or "words"
// and then the fitting words, one per line.
inline constexpr const char* kCompleteCommand = "__complete";
int completeWord(const CLI::App& app, std::vector<std::string> words, Streams io);

// Runs the command `arguments` name (UTF-8, the program's name left out) and returns the exit
// status. Never throws: whatever goes wrong is said on `io.err`.
int runTool(const std::vector<std::string>& arguments, Streams io);

}  // namespace tavrel::tool
