// show: one team's flag as the one line of a .flg file.
#include <iostream>
#include <memory>

#include "game/flag_record.h"
#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

int showTeam(const std::string& image, const std::string& teamText, bool json, Streams io) {
    const std::optional<int> team = teamArgument(teamText, io);
    if (!team)
        return kRefused;
    if (!hasPalette(*team))
        return refuse(io, std::string(kTeams[static_cast<std::size_t>(*team)].label) +
                              " non ha colori propri: si può cambiare solo il suo tipo");
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadOnly, io);
        const std::string record = formatFlagRecord(GameImage(*session).readFlag(*team));
        if (json)
            io.out << "{\"index\": " << *team << ", \"record\": " << tool::json(record) << "}\n";
        else
            io.out << record << '\n';
        return kSuccess;
    });
}

}  // namespace

void addShowCommand(CLI::App& app, Streams io, int& status) {
    auto* command =
        app.add_subcommand("show", "la bandiera della squadra come una riga di un file .flg");
    auto image = std::make_shared<std::string>();
    auto team = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    addImageArgument(command, *image);
    command->add_option("TEAM", *team, kTeamHelp)->required();
    addJsonFlag(command, *json);
    command->callback([=, &status] { status = showTeam(*image, *team, *json, io); });
}

}  // namespace tavrel::tool
