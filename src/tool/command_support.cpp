// Failures and refusals of the commands, on stderr.
#include "tool/command_support.h"

#include <iostream>

#include "image/file_error.h"
#include "tool/team_argument.h"

namespace tavrel::tool {

int guarded(Streams io, const std::function<int()>& command) {
    try {
        return command();
    } catch (const FileError& error) {
        io.err << "tavrel-tool: " << describe(error) << '\n';
        return exitStatus(error);
    }
}

int refuse(Streams io, const std::string& message) {
    io.err << "tavrel-tool: " << message << '\n';
    return kRefused;
}

std::optional<int> teamArgument(const std::string& text, Streams io) {
    const std::optional<int> team = teamFromArgument(text);
    if (!team)
        refuse(io, "squadra sconosciuta: \"" + text +
                       "\" (un indice 0–85 o un nome della lista, come \"Bayer Monaco\")");
    return team;
}

std::optional<int> designArgument(const std::string& text, Streams io) {
    const std::optional<int> id = designFromArgument(text);
    if (!id)
        refuse(io, "disegno fuori catalogo: \"" + text + "\" (1–135)");
    return id;
}

}  // namespace tavrel::tool
