// undo: takes back the last changes, all of them in one change or none.
#include <iostream>
#include <memory>

#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

int undo(const std::string& image, int steps, Streams io) {
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadWrite, io);
        const std::vector<ChangeRecord> undoable = session->undoable();
        if (steps < 1 || static_cast<std::size_t>(steps) > undoable.size())
            return refuse(io, "modifiche da annullare: " + std::to_string(undoable.size()) +
                                  "; nulla è stato scritto");
        const std::vector<ChangeRecord> taken(undoable.begin(), undoable.begin() + steps);
        std::vector<std::uint64_t> numbers;
        for (const ChangeRecord& change : taken) numbers.push_back(change.sequence);
        session->undo(taken.size(), "undo " + joined(numbers, ", ") + ": " +
                                        (steps == 1 ? taken.front().description
                                                    : std::to_string(steps) + " modifiche"));
        warnIfUnlogged(*session, io);
        for (const ChangeRecord& change : taken)
            io.out << "annullata la modifica " << change.sequence << ": " << change.description
                   << '\n';
        return kSuccess;
    });
}

}  // namespace

void addUndoCommand(CLI::App& app, Streams io, int& status) {
    auto* command = app.add_subcommand(
        "undo", "annulla le ultime modifiche (registrate a loro volta come una modifica)");
    auto image = std::make_shared<std::string>();
    auto steps = std::make_shared<int>(1);
    addImageArgument(command, *image);
    command->add_option("--steps", *steps, "quante modifiche annullare (1): tutte o nessuna");
    command->callback([=, &status] { status = undo(*image, *steps, io); });
}

}  // namespace tavrel::tool
