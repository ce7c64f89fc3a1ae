// The sectors whose checksums need rewriting, found on the same walk as verification: what
// fix-checksums writes, with the bytes it replaces.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "image/image_edit.h"
#include "sector/sector_checks.h"
#include "walk/sector_walk.h"

namespace tavrel {

// A sector whose EDC or ECC is wrong and may be rewritten: Mode 1, Mode 2 Form 1, or Form 2 with
// a stored EDC other than zero (see regenerateChecksums).
struct SectorRepair {
    std::int64_t sector = 0;
    SectorCheck found;       // its kind, and which stored checksums are wrong
    Regeneration rewritten;  // which change: a new EDC also changes the ECC that covers it
    // Image offsets with the bytes there now and after the repair, from the EDC to the end of the
    // sector: two runs in Mode 1, around its zero bytes (2068–2075), which are never written.
    std::vector<ByteChange> changes;
};

// A synced sector of a mode other than 1 or 2: its checksums are not known, so it is left alone.
struct OtherModeSector {
    std::int64_t sector = 0;
    std::uint8_t mode = 0;
    friend bool operator==(const OtherModeSector&, const OtherModeSector&) = default;
};

// What one chunk of the walk holds, each list in sector order (in the order given, for a list).
struct ChunkRepairs {
    std::vector<SectorRepair> repairs;
    std::vector<OtherModeSector> otherModes;
};

// Gets chunk after chunk, on the calling thread, in sector order. It may write a chunk's repairs
// to the image before it returns: the walk reads on from the sectors after them.
using RepairSink = std::function<void(ChunkRepairs&& chunk)>;

// Every whole sector of the image.
void findRepairs(const ImageFile& file, const RepairSink& sink, const VerifyProgress& progress = {},
                 const WalkOptions& options = {});

// The given sectors only, in the order given.
void findRepairs(const ImageFile& file, std::span<const std::int64_t> sectors,
                 const RepairSink& sink, const WalkOptions& options = {});

}  // namespace tavrel
