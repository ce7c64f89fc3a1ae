// Chunk-by-chunk verification of sectors.
#include "sector/sector_verify.h"

#include <stdexcept>

namespace tavrel {
namespace {

SectorFault faultOf(const SectorCheck& check) {
    if (!check.edcRight && !check.eccRight) {
        return SectorFault::EdcAndEcc;
    }
    return check.edcRight ? SectorFault::Ecc : SectorFault::Edc;
}

}  // namespace

void tallySector(VerifyTally& tally, std::int64_t number, const SectorCheck& check) {
    ++tally.sectorsOfKind[static_cast<std::size_t>(check.kind)];
    if (check.right()) {
        return;
    }
    ++tally.badSectors;
    ++tally.badOfKind[static_cast<std::size_t>(check.kind)];
    if (tally.firstBadSectors.size() < VerifyTally::kListedBadSectors) {
        tally.firstBadSectors.push_back({number, number * kRawSectorSize, faultOf(check)});
    }
}

void verifySectors(std::span<const std::uint8_t> wholeSectors, std::int64_t firstSectorNumber,
                   VerifyTally& tally, ChecksumPath path) {
    if (wholeSectors.size() % kRawSectorSize != 0) {
        throw std::invalid_argument("chunk is not a whole number of sectors");
    }
    std::int64_t number = firstSectorNumber;
    for (std::size_t at = 0; at < wholeSectors.size(); at += kRawSectorSize, ++number) {
        tallySector(tally, number,
                    checkSector(wholeSectors.subspan(at).first<kRawSectorSize>(), path));
    }
}

void VerifyTally::add(const VerifyTally& later) {
    for (std::size_t kind = 0; kind < kSectorKindCount; ++kind) {
        sectorsOfKind[kind] += later.sectorsOfKind[kind];
        badOfKind[kind] += later.badOfKind[kind];
    }
    badSectors += later.badSectors;
    for (const BadSector& bad : later.firstBadSectors) {
        if (firstBadSectors.size() < kListedBadSectors)
            firstBadSectors.push_back(bad);
    }
}

}  // namespace tavrel
