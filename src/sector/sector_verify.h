// Verification of a whole image's EDC and ECC, fed chunk by chunk of whole sectors so that no
// caller ever needs the whole image in memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sector/sector_checks.h"

namespace tavrel {

enum class SectorFault : std::uint8_t { Edc, Ecc, EdcAndEcc };

struct BadSector {
    std::int64_t sector = 0;
    std::int64_t byteOffset = 0;  // 0-based, of the sector's first byte in the image
    SectorFault fault = SectorFault::Edc;
    friend bool operator==(const BadSector&, const BadSector&) = default;
};

struct VerifyTally {
    static constexpr std::size_t kListedBadSectors = 20;

    std::array<std::int64_t, kSectorKindCount> sectorsOfKind{};
    std::array<std::int64_t, kSectorKindCount> badOfKind{};
    std::int64_t badSectors = 0;
    std::vector<BadSector> firstBadSectors;  // in sector order, at most kListedBadSectors

    std::int64_t count(SectorKind kind) const {
        return sectorsOfKind[static_cast<std::size_t>(kind)];
    }
    std::int64_t bad(SectorKind kind) const { return badOfKind[static_cast<std::size_t>(kind)]; }

    // Adds what `later` found in sectors after this tally's.
    void add(const VerifyTally& later);

    friend bool operator==(const VerifyTally&, const VerifyTally&) = default;
};

// Adds what the check of sector `number` of the image found to `tally`.
void tallySector(VerifyTally& tally, std::int64_t number, const SectorCheck& check);

// Checks every sector of `wholeSectors`, the first of which is sector `firstSectorNumber` of the
// image, and adds what it finds to `tally`. Throws std::invalid_argument when the bytes are not
// a whole number of sectors.
void verifySectors(std::span<const std::uint8_t> wholeSectors, std::int64_t firstSectorNumber,
                   VerifyTally& tally, ChecksumPath path = activeChecksumPath());

}  // namespace tavrel
