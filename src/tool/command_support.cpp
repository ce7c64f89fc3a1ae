// Failures and refusals of the commands, on stderr.
#include "tool/command_support.h"

#include <algorithm>
#include <iomanip>
#include <iostream>

#include "game/game_check.h"
#include "image/file_error.h"
#include "platform/platform.h"
#include "tool/team_argument.h"

namespace tavrel::tool {

int guarded(Streams io, const std::function<int()>& command) {
    try {
        return command();
    } catch (const FileError& error) {
        io.err << "tavrel-tool: " << describe(error) << '\n';
        return exitStatus(error);
    } catch (const std::exception& error) {
        io.err << "tavrel-tool: errore interno: " << error.what() << '\n';
        return kFileFailure;
    }
}

VerifyProgress progressBar(const char* what, Streams io) {
    if (!sys::errorIsTerminal())
        return {};
    return [what, io](std::int64_t done, std::int64_t total) {
        io.err << '\r' << what << ' ' << std::setw(3)
               << done * 100 / std::max<std::int64_t>(total, 1) << "%"
               << (done == total ? "\r\033[K" : "") << std::flush;
    };
}

namespace {

// What was wrong with the log, in a few words.
const char* logProblem(Recovery::LogProblem problem) {
    switch (problem) {
        case Recovery::LogProblem::Damaged:
            return "era danneggiato";
        case Recovery::LogProblem::Foreign:
            return "non è un registro delle modifiche di Tavrel";
        case Recovery::LogProblem::Newer:
            return "è di una versione più recente di Tavrel";
        case Recovery::LogProblem::Stale:
        case Recovery::LogProblem::None:  // not asked: there is nothing to tell
            break;
    }
    return "non corrisponde più all'immagine";
}

void tellLogProblem(const ImageSession& session, Streams io) {
    const Recovery& recovery = session.recovery();
    io.err << "tavrel-tool: il registro " << session.logPath() << ' '
           << logProblem(recovery.problem);
    if (recovery.keptAs.empty()) {
        io.err << "; non si è potuto mettere da parte ("
               << (session.logFailure() ? describe(*session.logFailure()) : "") +
                      "): le modifiche saranno scritte senza registro\n";
        return;
    }
    io.err << ": conservato com'era in " << recovery.keptAs
           << (recovery.problem == Recovery::LogProblem::Damaged
                   ? "; le modifiche leggibili restano nel registro\n"
                   : "; ne comincia uno nuovo\n");
}

void tellRecovery(const ImageSession& session, Streams io) {
    const Recovery& recovery = session.recovery();
    if (recovery.problem != Recovery::LogProblem::None)
        tellLogProblem(session, io);
    if (recovery.interrupted == Recovery::Interrupted::Completed)
        io.err << "tavrel-tool: completata una modifica interrotta: " << recovery.description
               << '\n';
    if (recovery.interrupted == Recovery::Interrupted::Refused)
        io.err << "tavrel-tool: modifica interrotta NON completata (" << recovery.description
               << "): un altro programma ha cambiato l'immagine; registro conservato in "
               << recovery.keptAs << '\n';
}

}  // namespace

int withImage(const std::string& path, ImageAccess access, Streams io,
              const std::function<int(ImageSession&)>& command) {
    return guarded(io, [&] {
        ImageSession session(path, access);
        tellRecovery(session, io);
        const int status = command(session);
        if (status == kSuccess && access == ImageAccess::ReadWrite && !session.logging())
            io.err << "tavrel-tool: attenzione: modifica scritta senza registro ("
                   << (session.logFailure() ? describe(*session.logFailure()) : session.logPath())
                   << ")\n";
        return status;
    });
}

void addForceFlag(CLI::App& command, bool& force) {
    command.add_flag("--force", force, "scrive anche in un'immagine che non sembra il gioco");
}

bool mayWrite(const ImageSession& session, bool force, Streams io) {
    const GameCheck check = checkGame(session.file());
    if (check.passes())
        return true;
    const std::string why =
        session.file().path() + " non sembra contenere il gioco: " + joinedReasons(check);
    if (!force) {
        refuse(io, why + "; nulla è stato scritto (--force per scriverla comunque)");
        return false;
    }
    io.err << "tavrel-tool: attenzione: " << why << "; scritta comunque (--force)\n";
    return true;
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

int withTeamFlag(const std::string& path, const std::string& team, const char* why, Streams io,
                 const std::function<int(int team, const Flag& flag)>& command) {
    const std::optional<int> index = teamArgument(team, io);
    if (!index)
        return kRefused;
    if (!hasPalette(*index))
        return refuse(io, std::string(kTeams[static_cast<std::size_t>(*index)].label) +
                              " non ha colori propri: " + why);
    return withImage(path, ImageAccess::ReadOnly, io, [&](ImageSession& session) {
        return command(*index, GameImage(session).readFlag(*index));
    });
}

std::optional<int> designArgument(const std::string& text, Streams io) {
    const std::optional<int> id = designFromArgument(text);
    if (!id)
        refuse(io, "disegno fuori catalogo: \"" + text + "\" (1–135)");
    return id;
}

}  // namespace tavrel::tool
