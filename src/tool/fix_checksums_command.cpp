// fix-checksums: rewrites the wrong EDC and ECC of the sectors Tavrel writes, or of all, as one
// change.
#include <iostream>

#include "game/change_names.h"
#include "game/game_places.h"
#include "image/offset_text.h"
#include "tool/command_line.h"
#include "tool/command_support.h"
#include "walk/repair_plan.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "riscrive, come una modifica, EDC ed ECC errati dei settori che Tavrel tocca (--all: di tutti)";

void printRepairs(const RepairPlan& plan, Streams io) {
    for (const OtherModeSector& other : plan.otherModes)
        io.out << "settore " << other.sector << ": modo " << int{other.mode}
               << ", lasciato com'è\n";
    for (const SectorRepair& repair : plan.repaired) {
        const Regeneration& done = repair.rewritten;
        io.out << "settore " << repair.sector << "  " << hexOffset(repair.sector * kRawSectorSize)
               << "  "
               << (done.edcRewritten && done.eccRewritten ? "EDC ed ECC riscritti"
                   : done.edcRewritten                    ? "EDC riscritto"
                                                          : "ECC riscritto")
               << '\n';
    }
    io.out << "settori riscritti: " << plan.repaired.size() << '\n';
}

struct FixOptions {
    std::string image;
    bool all = false, force = false;

    void declare(CLI::App& command) {
        addImageArgument(&command, image);
        command.add_flag("--all", all, "tutti i settori dell'immagine");
        addForceFlag(command, force);
    }
};

int fixChecksums(const FixOptions& options, Streams io) {
    return withImage(options.image, ImageAccess::ReadWrite, io, [&](ImageSession& session) {
        if (!mayWrite(session, options.force, io))
            return kRefused;
        const std::vector<std::int64_t> touched = touchedSectors();
        RepairPlan plan = options.all ? planChecksumRepairs(session.file(), std::nullopt,
                                                            progressBar("riparazione", io))
                                      : planChecksumRepairs(session.file(), touched);
        if (!plan.repaired.empty()) {
            plan.edit.description = change_name::checksumRepair(plan.repaired.size());
            session.apply(plan.edit);
        }
        printRepairs(plan, io);
        return kSuccess;
    });
}

}  // namespace

void addFixChecksumsCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "fix-checksums", kHelp, io, status, fixChecksums);
}

}  // namespace tavrel::tool
