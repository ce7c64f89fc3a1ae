// Planning a repair sector by sector.
#include "image/repair_plan.h"

#include "image/checksum_carry.h"
#include "image/image_file.h"

namespace tavrel {
namespace {

void planSector(RepairPlan& plan, std::int64_t sector, Bytes bytes) {
    const std::int64_t offset = sector * kRawSectorSize;
    Bytes after = bytes;
    const Regeneration done = regenerateChecksums(std::span(after).first<kRawSectorSize>());
    if (done.kind == SectorKind::OtherMode)
        plan.otherModes.push_back({sector, bytes[kModeAt]});
    if (!done.changed())
        return;
    const auto from = static_cast<long>(checksumsStart(done.kind));
    plan.edit.changes.push_back({offset + from, Bytes(bytes.begin() + from, bytes.end()),
                                 Bytes(after.begin() + from, after.end())});
    plan.repaired.push_back({sector, done.edcRewritten, done.eccRewritten});
}

}  // namespace

RepairPlan planChecksumRepairs(const ImageFile& file,
                               std::optional<std::span<const std::int64_t>> sectors,
                               const RepairProgress& progress) {
    RepairPlan plan;
    plan.edit.leaveChecksums = true;
    const std::int64_t total =
        sectors ? static_cast<std::int64_t>(sectors->size()) : file.size() / kRawSectorSize;
    for (std::int64_t i = 0; i < total; ++i) {
        const std::int64_t sector = sectors ? (*sectors)[static_cast<std::size_t>(i)] : i;
        planSector(plan, sector, file.read(sector * kRawSectorSize, kRawSectorSize));
        if (progress && (i % 4096 == 4095 || i + 1 == total))
            progress(i + 1, total);
    }
    plan.edit.checksumSectors = static_cast<std::uint32_t>(plan.repaired.size());
    return plan;
}

}  // namespace tavrel
