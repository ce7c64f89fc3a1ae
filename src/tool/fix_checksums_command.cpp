// fix-checksums: rewrites the wrong EDC and ECC of the sectors Tavrel writes, or of all, as one
// change.
#include <iostream>
#include <memory>

#include "game/game_places.h"
#include "image/repair_plan.h"
#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

void printRepairs(const RepairPlan& plan, Streams io) {
    for (const auto& [sector, mode] : plan.otherModes)
        io.out << "settore " << sector << ": modo " << int{mode} << ", lasciato com'è\n";
    for (const RepairedSector& repaired : plan.repaired) {
        io.out << "settore " << repaired.sector << "  "
               << hexOffset(repaired.sector * kRawSectorSize) << "  "
               << (repaired.edc && repaired.ecc ? "EDC ed ECC riscritti"
                   : repaired.edc               ? "EDC riscritto"
                                                : "ECC riscritto")
               << '\n';
    }
    io.out << "settori riscritti: " << plan.repaired.size() << '\n';
}

int fixChecksums(const std::string& image, bool all, Streams io) {
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadWrite, io);
        const std::vector<std::int64_t> touched = touchedSectors();
        RepairPlan plan =
            all ? planChecksumRepairs(session->file(), std::nullopt, progressBar("riparazione", io))
                : planChecksumRepairs(session->file(), touched);
        if (!plan.repaired.empty()) {
            plan.edit.description =
                "fix-checksums: " + std::to_string(plan.repaired.size()) + " settori";
            session->apply(plan.edit);
            warnIfUnlogged(*session, io);
        }
        printRepairs(plan, io);
        return kSuccess;
    });
}

}  // namespace

void addFixChecksumsCommand(CLI::App& app, Streams io, int& status) {
    auto* command = app.add_subcommand(
        "fix-checksums",
        "riscrive EDC ed ECC errati dei settori che Tavrel tocca (--all: di tutti), come una modifica");
    auto image = std::make_shared<std::string>();
    auto all = std::make_shared<bool>(false);
    addImageArgument(command, *image);
    command->add_flag("--all", *all, "tutti i settori dell'immagine");
    command->callback([=, &status] { status = fixChecksums(*image, *all, io); });
}

}  // namespace tavrel::tool
