// export: Flag_<name>.flg files as the window's Export writes them, several with one sync.
#include <iostream>

#include "game/flag_files.h"
#include "platform/paths.h"
#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "scrive Flag_<nome>.flg per le squadre date, o per tutte quelle con colori";

const char* labelOf(int team) {
    return kTeams[static_cast<std::size_t>(team)].label;
}

// The teams named, or every team with colours of its own; none after a refusal.
std::optional<std::vector<int>> exportedTeams(const std::vector<std::string>& texts, Streams io) {
    std::vector<int> teams;
    for (const std::string& text : texts) {
        const std::optional<int> team = teamArgument(text, io);
        if (!team)
            return std::nullopt;
        if (!hasPalette(*team)) {
            refuse(io, std::string(labelOf(*team)) +
                           " non ha colori propri: la sua bandiera non si può esportare");
            return std::nullopt;
        }
        teams.push_back(*team);
    }
    for (int team = 0; texts.empty() && team < kTeamCount; ++team) {
        if (hasPalette(team))
            teams.push_back(team);
    }
    return teams;
}

struct ExportOptions {
    std::string image;
    std::vector<std::string> teams;
    std::string folder = ".";

    void declare(CLI::App& command) {
        addImageArgument(&command, image);
        command.add_option("TEAM", teams, kTeamHelp);
        command.add_option("--to", folder, "la cartella dei file (se no quella corrente)");
    }
};

int exportFlags(const ExportOptions& options, Streams io) {
    const std::optional<std::vector<int>> teams = exportedTeams(options.teams, io);
    if (!teams)
        return kRefused;
    return withImage(options.image, ImageAccess::ReadOnly, io, [&](ImageSession& session) {
        const GameImage game(session);
        std::vector<FlagFile> files;
        for (const int team : *teams) {
            const std::optional<std::string> name = flagFileName(game.teamName(team));
            if (!name)
                return refuse(io, std::string(labelOf(team)) +
                                      ": il nome memorizzato non può essere il nome di un file");
            files.push_back({*name, game.readFlag(team)});
        }
        writeFlagFiles(options.folder, files);
        for (const FlagFile& written : files)
            io.out << pathIn(options.folder, written.name) << '\n';
        return kSuccess;
    });
}

}  // namespace

void addExportCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "export", kHelp, io, status, exportFlags);
}

}  // namespace tavrel::tool
