// Sector kinds, their EDC and ECC checks, and regeneration.
#include "sector/sector_checks.h"

#include <algorithm>
#include <array>
#include <optional>

#include "sector/ecc.h"
#include "sector/edc.h"

namespace tavrel {
namespace {

// A kind's checksums: where they lie, which bytes its EDC covers (from `edcFrom` up to the EDC
// itself), and whether an ECC follows and how it treats the header.
struct Layout {
    std::size_t edcFrom;
    std::optional<EccHeader> ecc;
    std::span<const SectorRun> runs;

    std::size_t edcAt() const { return runs.front().from; }
};

std::optional<Layout> layoutOf(SectorKind kind) {
    static constexpr SectorRun kMode1[] = {{kMode1EdcAt, kMode1ZeroBytesAt},
                                           {kEccPAt, kRawSectorSize}};
    static constexpr SectorRun kForm1[] = {{kForm1EdcAt, kRawSectorSize}};
    static constexpr SectorRun kForm2[] = {{kForm2EdcAt, kRawSectorSize}};
    switch (kind) {
        case SectorKind::Mode1:
            return Layout{0, EccHeader::AsStored, kMode1};
        case SectorKind::Mode2Form1:
            return Layout{kSubheaderAt, EccHeader::AsZero, kForm1};
        case SectorKind::Mode2Form2:
            return Layout{kSubheaderAt, std::nullopt, kForm2};
        case SectorKind::NoSync:
        case SectorKind::OtherMode:
            break;
    }
    return std::nullopt;
}

// The checksums the sector has in use: none for a kind without them, nor for a Form 2 sector
// that stores zero as its EDC, which says it has none.
std::optional<Layout> checksumsInUse(RawSector sector, SectorKind kind) {
    const std::optional<Layout> layout = layoutOf(kind);
    if (layout && !layout->ecc && storedEdc(sector, layout->edcAt()) == 0) {
        return std::nullopt;
    }
    return layout;
}

std::uint32_t computedEdc(RawSector sector, const Layout& layout, ChecksumPath path) {
    return edc(sector.subspan(layout.edcFrom, layout.edcAt() - layout.edcFrom), path);
}

}  // namespace

std::span<const SectorRun> checksumRuns(SectorKind kind) {
    const std::optional<Layout> layout = layoutOf(kind);
    return layout ? layout->runs : std::span<const SectorRun>();
}

SectorKind sectorKind(RawSector sector) {
    if (!std::equal(kSectorSync.begin(), kSectorSync.end(), sector.begin())) {
        return SectorKind::NoSync;
    }
    switch (sector[kModeAt]) {
        case 1:
            return SectorKind::Mode1;
        case 2:
            // The first copy of the subheader decides, even should the second differ.
            return (sector[kSubmodeAt] & kSubmodeForm2) != 0 ? SectorKind::Mode2Form2
                                                             : SectorKind::Mode2Form1;
        default:
            return SectorKind::OtherMode;
    }
}

SectorCheck checkSector(RawSector sector, ChecksumPath path) {
    SectorCheck check{sectorKind(sector)};
    const std::optional<Layout> layout = checksumsInUse(sector, check.kind);
    if (!layout) {
        return check;
    }
    check.edcRight = computedEdc(sector, *layout, path) == storedEdc(sector, layout->edcAt());
    if (layout->ecc) {
        check.eccRight = eccParityIsRight(sector, *layout->ecc, path);
    }
    return check;
}

Regeneration regenerateChecksums(WritableRawSector sector, ChecksumPath path) {
    Regeneration result{sectorKind(sector)};
    const std::optional<Layout> layout = checksumsInUse(sector, result.kind);
    if (!layout) {
        return result;
    }
    result.allowed = true;

    const std::uint32_t computed = computedEdc(sector, *layout, path);
    if (computed != storedEdc(sector, layout->edcAt())) {
        storeEdc(sector, layout->edcAt(), computed);
        result.edcRewritten = true;
    }
    if (layout->ecc) {
        // Parity is worked out on a copy so that a right ECC leaves the sector untouched.
        std::array<std::uint8_t, kRawSectorSize> copy;
        std::copy(sector.begin(), sector.end(), copy.begin());
        writeEccParity(copy, *layout->ecc, path);
        const auto parity = std::span(copy).subspan<kEccPAt>();
        if (!std::equal(parity.begin(), parity.end(), sector.begin() + kEccPAt)) {
            std::copy(parity.begin(), parity.end(), sector.begin() + kEccPAt);
            result.eccRewritten = true;
        }
    }
    return result;
}

}  // namespace tavrel
