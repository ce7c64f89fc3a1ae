// Repairs found chunk by chunk: a sector's check first, and its new checksums only when that
// finds them wrong, so that a sound image costs no more than its verification.
#include "walk/sector_repairs.h"

#include <algorithm>
#include <array>

namespace tavrel {
namespace {

SectorRepair repairOf(RawSector sector, std::int64_t number, const SectorCheck& found,
                      ChecksumPath path) {
    std::array<std::uint8_t, kRawSectorSize> after;
    std::copy(sector.begin(), sector.end(), after.begin());
    SectorRepair repair{number, found, regenerateChecksums(after, path), {}};
    // Only the checksum bytes: Mode 1's zero bytes are never written.
    for (const SectorRun& run : checksumRuns(found.kind)) {
        repair.changes.push_back({number * kRawSectorSize + static_cast<std::int64_t>(run.from),
                                  Bytes(sector.begin() + run.from, sector.begin() + run.to),
                                  Bytes(after.begin() + run.from, after.begin() + run.to)});
    }
    return repair;
}

ChunkRepairs repairsIn(const SectorChunk& chunk, ChecksumPath path) {
    ChunkRepairs found;
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        const RawSector sector = chunk.sector(i);
        const SectorCheck check = checkSector(sector, path);
        if (check.kind == SectorKind::OtherMode)
            found.otherModes.push_back({chunk.numbers[i], sector[kModeAt]});
        else if (!check.right())
            found.repairs.push_back(repairOf(sector, chunk.numbers[i], check, path));
    }
    return found;
}

void repairWalk(const ImageFile& file, SectorList sectors, const RepairSink& sink,
                const VerifyProgress& progress, const WalkOptions& options) {
    walkSectors<ChunkRepairs>(
        file, sectors, options,
        [&](const SectorChunk& chunk) { return repairsIn(chunk, options.path); },
        [&](ChunkRepairs&& found) { sink(std::move(found)); }, progress);
}

}  // namespace

void findRepairs(const ImageFile& file, const RepairSink& sink, const VerifyProgress& progress,
                 const WalkOptions& options) {
    repairWalk(file, kEverySector, sink, progress, options);
}

void findRepairs(const ImageFile& file, std::span<const std::int64_t> sectors,
                 const RepairSink& sink, const WalkOptions& options) {
    repairWalk(file, sectors, sink, {}, options);
}

}  // namespace tavrel
