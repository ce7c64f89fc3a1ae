// show: one team's flag as the one line of a .flg file, then which designs it is.
#include <iostream>

#include "catalog/flag_match.h"
#include "game/flag_record.h"
#include "tool/command_line.h"
#include "tool/command_support.h"
#include "tool/match_text.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "la bandiera della squadra come la riga di un file .flg, poi i disegni a cui è uguale (o il "
    "più vicino)";

struct ShowOptions {
    std::string image, team;
    bool json = false;

    void declare(CLI::App& command) {
        addImageArgument(&command, image);
        command.add_option("TEAM", team, kTeamHelp)->required();
        addJsonFlag(&command, json);
    }
};

int showTeam(const ShowOptions& options, Streams io) {
    return withTeamFlag(options.image, options.team, "si può cambiare solo il suo tipo", io,
                        [&](int team, const Flag& flag) {
                            const std::string record = formatFlagRecord(flag);
                            const FlagMatch match = matchFlag(flag);
                            if (options.json)
                                io.out << "{\"index\": " << team << ", \"record\": "
                                       << tool::json(record) << ", " << matchJson(match) << "}\n";
                            else
                                io.out << record << "\ntipo " << hexByte(flag.type) << ", "
                                       << matchText(match) << '\n';
                            return kSuccess;
                        });
}

}  // namespace

void addShowCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "show", kHelp, io, status, showTeam);
}

}  // namespace tavrel::tool
