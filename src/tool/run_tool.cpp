// The command line read and its one command run, whatever happens on the way.
#include <algorithm>
#include <exception>
#include <iostream>

#include "tool/command_line.h"
#include "tool/command_support.h"
#include "tool/tool_text.h"

namespace tavrel::tool {
namespace {

constexpr AddCommand kCommands[] = {
    addTeamsCommand, addShowCommand,    addApplyCommand,        addExportCommand,
    addNetsCommand,  addVerifyCommand,  addFixChecksumsCommand, addHistoryCommand,
    addUndoCommand,  addPatchCommand,   addApplyPatchCommand,   addDiffCommand,
    addInfoCommand,  addCatalogCommand, addRenderCommand,
};

constexpr const char* kDescription =
    "Tavrel da riga di comando: le bandiere delle 86 squadre in un'immagine raw del CD del gioco "
    "(.bin/.img, settori da 2352 byte).";

std::string joinedNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

// Why the first argument is neither a command nor an option the tool takes before one; none
// when it is. The parser alone would answer "a subcommand is required" to all of these.
std::optional<std::string> commandProblem(const std::vector<std::string>& arguments,
                                          const CLI::App& app) {
    const std::vector<std::string> commands = commandNames(app);
    if (arguments.empty())
        return "manca il comando, uno di: " + joinedNames(commands) +
               " (tavrel-tool --help li descrive)";
    const std::string& first = arguments.front();
    if (first.starts_with("-")) {
        const std::vector<const CLI::Option*> options = app.get_options();
        const bool known = std::any_of(options.begin(), options.end(), [&](const auto* option) {
            return option->check_name(first);
        });
        if (known)
            return std::nullopt;
        return "opzione sconosciuta: " + first +
               " (le opzioni di un comando vanno dopo il suo nome; tavrel-tool --help)";
    }
    if (std::find(commands.begin(), commands.end(), first) != commands.end())
        return std::nullopt;
    const std::optional<std::string> meant = nearestName(first, commands);
    return "comando sconosciuto: \"" + first + "\"" +
           (meant ? " (forse \"" + *meant + "\"?)" : " (i comandi: " + joinedNames(commands) + ")");
}

// Where to read more, after a refusal of the command line.
std::string helpHint(const CLI::App& app) {
    const std::vector<CLI::App*> parsed = app.get_subcommands();
    return parsed.empty() ? "; tavrel-tool --help elenca i comandi"
                          : "; tavrel-tool " + parsed.front()->get_name() + " --help lo spiega";
}

}  // namespace

void addImageArgument(CLI::App* command, std::string& image) {
    command->add_option("IMAGE", image, "l'immagine del gioco")->required();
}

void addJsonFlag(CLI::App* command, bool& json) {
    command->add_flag("--json", json, "risultati in JSON");
}

void ImageOptions::declare(CLI::App& command) {
    addImageArgument(&command, image);
    addJsonFlag(&command, json);
}

std::vector<std::string> commandNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::App* command : app.get_subcommands({})) names.push_back(command->get_name());
    return names;
}

int runTool(const std::vector<std::string>& arguments, Streams io) {
    CLI::App app{kDescription, "tavrel-tool"};
    speakItalian(app);
    app.set_version_flag("--version", std::string("tavrel-tool ") + TAVREL_VERSION,
                         "mostra la versione ed esce");
    app.require_subcommand(1);
    // "/images/game.bin" is a path on Windows too, never an option.
    app.allow_windows_style_options(false);
    int status = kSuccess;
    for (const AddCommand add : kCommands) add(app, io, status);
    if (!arguments.empty() && arguments.front() == kCompleteCommand)
        return completeWord(app, {arguments.begin() + 1, arguments.end()}, io);
    if (const std::optional<std::string> problem = commandProblem(arguments, app))
        return refuse(io, *problem);
    try {
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
    } catch (const CLI::Success& done) {
        app.exit(done, io.out, io.err);  // the help or the version, on standard output
        return kSuccess;
    } catch (const CLI::ParseError& error) {
        return refuse(io, parseFailure(error, app.remaining(true)) + helpHint(app));
    } catch (const std::exception& error) {
        // A fault of the program itself: said, never an abort.
        io.err << "tavrel-tool: errore interno: " << error.what() << '\n';
        return kFileFailure;
    }
    return status;
}

}  // namespace tavrel::tool
