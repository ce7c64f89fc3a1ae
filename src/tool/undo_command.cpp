// undo: takes back the last changes, all of them in one change or none.
#include <iostream>

#include "game/change_names.h"
#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "annulla le ultime modifiche (registrate a loro volta come una modifica)";
constexpr const char* kBeforeTheGap =
    " (le precedenti no: il registro danneggiato ha perso modifiche fatte dopo di loro)";

struct UndoOptions {
    std::string image;
    int steps = 1;

    void declare(CLI::App& command) {
        addImageArgument(&command, image);
        command.add_option("--steps", steps, "quante modifiche annullare (1): tutte o nessuna");
    }
};

int undo(const UndoOptions& options, Streams io) {
    const int steps = options.steps;
    return withImage(options.image, ImageAccess::ReadWrite, io, [&](ImageSession& session) {
        const std::vector<ChangeRecord> undoable = session.undoable();
        if (steps < 1 || static_cast<std::size_t>(steps) > undoable.size())
            return refuse(io, "modifiche da annullare: " + std::to_string(undoable.size()) +
                                  (session.undoStopsAtGap() ? kBeforeTheGap : "") +
                                  "; nulla è stato scritto");
        const std::vector<ChangeRecord> taken(undoable.begin(), undoable.begin() + steps);
        session.undo(taken.size(), change_name::undo(taken));
        for (const ChangeRecord& change : taken)
            io.out << "annullata la modifica " << change.sequence << ": " << change.description
                   << '\n';
        return kSuccess;
    });
}

}  // namespace

void addUndoCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "undo", kHelp, io, status, undo);
}

}  // namespace tavrel::tool
