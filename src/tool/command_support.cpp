// Failures and refusals of the commands, on stderr.
#include "tool/command_support.h"

#include <cstring>
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

std::unique_ptr<ImageSession> openImage(const std::string& path, ImageAccess access, Streams io) {
    auto session = std::make_unique<ImageSession>(path, access);
    const Recovery& recovery = session->recovery();
    switch (recovery.outcome) {
        case Recovery::Outcome::None:
            break;
        case Recovery::Outcome::Completed:
            io.err << "tavrel-tool: completata una modifica interrotta: " << recovery.description
                   << '\n';
            break;
        case Recovery::Outcome::Refused:
            io.err << "tavrel-tool: modifica interrotta NON completata (" << recovery.description
                   << "): un altro programma ha cambiato l'immagine; registro conservato in "
                   << recovery.setAside << '\n';
            break;
        case Recovery::Outcome::SetAside:
            io.err << "tavrel-tool: il registro delle modifiche non corrisponde più all'immagine: "
                      "conservato in "
                   << recovery.setAside << ", ne comincia uno nuovo\n";
            break;
    }
    return session;
}

void warnIfUnlogged(const ImageSession& session, Streams io) {
    if (!session.logging())
        io.err << "tavrel-tool: attenzione: " << session.logPath() << " non si può scrivere ("
               << std::strerror(session.logFailure()) << "): modifica scritta senza registro\n";
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
