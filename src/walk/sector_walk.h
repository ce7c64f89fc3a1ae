// The sectors of an open image, read and checked chunk by chunk on every core, the findings
// handed back in sector order: never the whole image in memory. One walk serves verification
// (image_verify.h) and the search for repairs (sector_repairs.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "sector/checksum_path.h"
#include "sector/raw_sector.h"

namespace tavrel {

class ImageFile;

inline constexpr std::int64_t kWalkChunkSectors = 448;  // about 1 MB

struct WalkOptions {
    ChecksumPath path = activeChecksumPath();
    std::int64_t chunkSectors = kWalkChunkSectors;
    unsigned workers = 0;  // 0: one per core
};

// Called after each chunk with the sectors done so far and in all.
using VerifyProgress = std::function<void(std::int64_t done, std::int64_t total)>;

// Which sectors a walk reads: every whole sector of the image (kEverySector; bytes after the
// last whole sector are not a sector), or those listed, in the order given.
using SectorList = std::optional<std::span<const std::int64_t>>;
inline constexpr SectorList kEverySector = std::nullopt;

// A chunk of whole sectors as read, one after another, and the image's number of each.
struct SectorChunk {
    std::span<const std::uint8_t> bytes;
    std::span<const std::int64_t> numbers;

    std::size_t size() const { return numbers.size(); }
    RawSector sector(std::size_t i) const {
        return bytes.subspan(i * kRawSectorSize).first<kRawSectorSize>();
    }
};

// `check` runs on the worker thread that read the chunk, `take` on the calling thread, chunk
// after chunk in sector order, each once its check is done. Each chunk has a slot, below
// walkSlots(), of its own from its check to its take: what a check leaves for the take goes
// there. The chunk's bytes are the worker's again once its check returns.
struct WalkSteps {
    std::function<void(std::size_t slot, const SectorChunk& chunk)> check;
    std::function<void(std::size_t slot)> take;
};

std::size_t walkSlots(const WalkOptions& options);

// How many sectors a walk over `sectors` reads.
std::int64_t walkLength(const ImageFile& file, SectorList sectors);

// The workers read with ImageFile::readInto side by side: positioned reads, which leave the
// file's position alone. What a check or take throws ends the walk once the workers have
// stopped, and goes on to the caller; so does a read failure (FileError), in its chunk's turn.
void walkSectors(const ImageFile& file, SectorList sectors, const WalkOptions& options,
                 const WalkSteps& steps, const VerifyProgress& progress = {});

// The walk with a finding per chunk: `check(chunk)` returns it, `take(finding)` gets it.
template <class Finding, class Check, class Take>
void walkSectors(const ImageFile& file, SectorList sectors, const WalkOptions& options, Check check,
                 Take take, const VerifyProgress& progress = {}) {
    std::vector<Finding> found(walkSlots(options));
    walkSectors(file, sectors, options,
                {[&](std::size_t slot, const SectorChunk& chunk) { found[slot] = check(chunk); },
                 [&](std::size_t slot) { take(std::move(found[slot])); }},
                progress);
}

}  // namespace tavrel
