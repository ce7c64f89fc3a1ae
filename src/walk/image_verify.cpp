// Each chunk tallied on the worker that read it; the tallies added up in sector order.
#include "walk/image_verify.h"

namespace tavrel {
namespace {

VerifyTally verifyWalk(const ImageFile& file, SectorList sectors, const VerifyProgress& progress,
                       const WalkOptions& options) {
    VerifyTally tally;
    walkSectors<VerifyTally>(
        file, sectors, options,
        [&](const SectorChunk& chunk) {
            VerifyTally found;
            for (std::size_t i = 0; i < chunk.size(); ++i)
                tallySector(found, chunk.numbers[i], checkSector(chunk.sector(i), options.path));
            return found;
        },
        [&](VerifyTally&& found) { tally.add(found); }, progress);
    return tally;
}

}  // namespace

VerifyTally verifyImage(const ImageFile& file, const VerifyProgress& progress,
                        const WalkOptions& options) {
    return verifyWalk(file, kEverySector, progress, options);
}

VerifyTally verifyImageSectors(const ImageFile& file, std::span<const std::int64_t> sectors,
                               const WalkOptions& options) {
    return verifyWalk(file, sectors, {}, options);
}

}  // namespace tavrel
