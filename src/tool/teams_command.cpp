// teams: one line (or one JSON object) per team, as the window would show it.
#include <iomanip>
#include <iostream>

#include "catalog/flag_match.h"
#include "platform/platform.h"
#include "tool/command_line.h"
#include "tool/command_support.h"
#include "tool/match_text.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "una riga per squadra: indice, nome nella lista e nell'immagine, tipo, 15 colori, i disegni "
    "uguali (o il più vicino)";

// Over the columns of printTeam, for a person reading a terminal; a script reading the lines
// through a pipe or a file gets the teams alone, as before.
constexpr const char* kHeader =
    " #  Squadra        Nome nell'immagine  Tipo  Colori (due byte ciascuno, come nel file)"
    "                                 Disegno\n";

void printTeam(const GameImage& game, int team, bool json, Streams io) {
    const std::string label = kTeams[static_cast<std::size_t>(team)].label;
    const std::string name = game.teamName(team);
    const std::uint8_t type = game.readType(team);
    std::optional<Flag> flag;
    if (hasPalette(team))
        flag = game.readFlag(team);
    const FlagMatch match = flag ? matchFlag(*flag) : FlagMatch{};
    if (json) {
        io.out << "{\"index\": " << team << ", \"label\": " << tool::json(label)
               << ", \"name\": " << tool::json(name) << ", \"type\": \"" << hexByte(type)
               << "\", \"colours\": " << (flag ? jsonColours(*flag) : "null") << ", "
               << matchJson(match) << "}";
        return;
    }
    io.out << std::setw(2) << team << "  " << std::left << std::setw(15) << label << std::setw(22)
           << ("\"" + name + "\"") << std::right << hexByte(type) << "  " << std::setw(74)
           << std::left << (flag ? colourText(*flag) : "(solo il tipo)") << std::right << "  "
           << (flag ? matchText(match) : "-") << '\n';
}

int listTeams(const ImageOptions& options, Streams io) {
    return withImage(options.image, ImageAccess::ReadOnly, io, [&](ImageSession& session) {
        const GameImage game(session);
        if (!options.json && sys::outputIsTerminal())
            io.out << kHeader;
        printList(io.out, options.json, kTeamCount, [&](std::size_t team) {
            printTeam(game, static_cast<int>(team), options.json, io);
        });
        return kSuccess;
    });
}

}  // namespace

void addTeamsCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "teams", kHelp, io, status, listTeams);
}

}  // namespace tavrel::tool
