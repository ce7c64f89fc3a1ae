// The command line read and its one command run, whatever happens on the way.
#include <exception>
#include <iostream>

#include "tool/command_line.h"
#include "tool/tool_text.h"

namespace tavrel::tool {
namespace {

constexpr AddCommand kCommands[] = {
    addTeamsCommand,   addShowCommand,   addApplyCommand,        addExportCommand,
    addNetsCommand,    addVerifyCommand, addFixChecksumsCommand, addHistoryCommand,
    addUndoCommand,    addPatchCommand,  addApplyPatchCommand,   addDiffCommand,
    addCatalogCommand, addRenderCommand,
};

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

int runTool(const std::vector<std::string>& arguments, Streams io) {
    CLI::App app{
        "Tavrel da riga di comando: le bandiere delle 86 squadre in un'immagine raw del "
        "CD del gioco (.bin/.img, settori da 2352 byte).",
        "tavrel-tool"};
    app.require_subcommand(1);
    // "/images/game.bin" is a path on Windows too, never an option.
    app.allow_windows_style_options(false);
    int status = kSuccess;
    for (const AddCommand add : kCommands) add(app, io, status);
    try {
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, io.out, io.err) == 0 ? kSuccess : kRefused;
    } catch (const std::exception& error) {
        // A fault of the program itself: said, never an abort.
        io.err << "tavrel-tool: errore interno: " << error.what() << '\n';
        return kFileFailure;
    }
    return status;
}

}  // namespace tavrel::tool
