// Every repair the walk finds, gathered into one edit.
#include "walk/repair_plan.h"

namespace tavrel {

RepairPlan planChecksumRepairs(const ImageFile& file, SectorList sectors,
                               const VerifyProgress& progress) {
    RepairPlan plan;
    plan.edit.leaveChecksums = true;
    const auto gather = [&](ChunkRepairs&& chunk) {
        for (SectorRepair& repair : chunk.repairs) {
            for (ByteChange& change : repair.changes)
                plan.edit.changes.push_back(std::move(change));
            repair.changes.clear();
            plan.repaired.push_back(std::move(repair));
        }
        plan.otherModes.insert(plan.otherModes.end(), chunk.otherModes.begin(),
                               chunk.otherModes.end());
    };
    if (sectors)
        findRepairs(file, *sectors, gather);
    else
        findRepairs(file, gather, progress);
    plan.edit.checksumSectors = static_cast<std::uint32_t>(plan.repaired.size());
    return plan;
}

}  // namespace tavrel
