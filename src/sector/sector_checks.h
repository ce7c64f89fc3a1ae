// What kind of sector a raw 2352-byte sector is, whether its EDC and ECC are right, and their
// regeneration after the sector's data was edited.
#pragma once

#include <cstdint>
#include <span>

#include "sector/checksum_path.h"
#include "sector/raw_sector.h"

namespace tavrel {

// NoSync: no 12-byte sync pattern (audio, or anything else that is not a data sector).
// OtherMode: synced, but a mode byte other than 1 or 2 (mode 0 included).
enum class SectorKind : std::uint8_t { NoSync, Mode1, Mode2Form1, Mode2Form2, OtherMode };

inline constexpr std::size_t kSectorKindCount = 5;

SectorKind sectorKind(RawSector sector);

// Bytes `from` up to `to` of a sector.
struct SectorRun {
    std::size_t from;
    std::size_t to;
    friend bool operator==(const SectorRun&, const SectorRun&) = default;
};

// Where a sector of the kind keeps its checksums: from its EDC to the end of the sector, less
// Mode 1's eight zero bytes (Mode 1: 2064–2067 and 2076–2351; Form 1: 2072–2351; Form 2:
// 2348–2351, an EDC alone). None in a sector without sync or of another mode.
std::span<const SectorRun> checksumRuns(SectorKind kind);

// A check that does not apply to the kind (no EDC or ECC at all, ECC in Form 2, EDC in a
// Form 2 sector that stores zero there, meaning it is not used) counts as right.
struct SectorCheck {
    SectorKind kind = SectorKind::NoSync;
    bool edcRight = true;
    bool eccRight = true;

    bool right() const { return edcRight && eccRight; }
    friend bool operator==(const SectorCheck&, const SectorCheck&) = default;
};

SectorCheck checkSector(RawSector sector, ChecksumPath path = activeChecksumPath());

// allowed: the sector carries checksums this program writes (Mode 1, Mode 2 Form 1, Form 2
// with a stored EDC other than zero); otherwise it was left exactly as it was. The rewritten
// flags tell which stored checksums differed and were replaced.
struct Regeneration {
    SectorKind kind = SectorKind::NoSync;
    bool allowed = false;
    bool edcRewritten = false;
    bool eccRewritten = false;

    bool changed() const { return edcRewritten || eccRewritten; }
    friend bool operator==(const Regeneration&, const Regeneration&) = default;
};

// Recomputes the EDC, then the ECC that covers it, in place. Sync, header, subheader, user data
// and the Mode 1 zero bytes are never written, whatever they hold.
Regeneration regenerateChecksums(WritableRawSector sector,
                                 ChecksumPath path = activeChecksumPath());

}  // namespace tavrel
