// New checksums for the sectors an edit touches.
#include "image/checksum_carry.h"

#include <algorithm>
#include <set>

#include "image/image_file.h"

namespace tavrel {
namespace {

// The sectors the edit changes bytes in, but for a last sector the file does not hold whole.
std::set<std::int64_t> touchedSectors(const ImageEdit& edit, std::int64_t fileSize) {
    std::set<std::int64_t> touched;
    for (const ByteChange& change : edit.changes) {
        const std::int64_t end = change.offset + static_cast<std::int64_t>(change.after.size());
        for (std::int64_t s = change.offset / kRawSectorSize; s * kRawSectorSize < end; ++s) {
            if ((s + 1) * kRawSectorSize <= fileSize)
                touched.insert(s);
        }
    }
    return touched;
}

std::int64_t endOf(const ByteChange& change) {
    return change.offset + static_cast<std::int64_t>(change.after.size());
}

// The changes that write any byte of [from, to), out of `changes` in file order: a patch of
// megabytes touches thousands of sectors, and each looks only at its own few changes.
std::span<const ByteChange> changesIn(std::span<const ByteChange> changes, std::int64_t from,
                                      std::int64_t to) {
    const auto first = std::partition_point(changes.begin(), changes.end(),
                                            [&](const ByteChange& c) { return endOf(c) <= from; });
    const auto last = std::partition_point(first, changes.end(),
                                           [&](const ByteChange& c) { return c.offset < to; });
    return {first, last};
}

// The sector's bytes with the edit's new bytes laid over them.
Bytes edited(Bytes sector, std::int64_t start, std::span<const ByteChange> changes) {
    const std::int64_t end = start + kRawSectorSize;
    for (const ByteChange& change : changes) {
        const std::int64_t from = std::max(change.offset, start);
        const std::int64_t to = std::min(endOf(change), end);
        std::copy(change.after.begin() + (from - change.offset),
                  change.after.begin() + (to - change.offset), sector.begin() + (from - start));
    }
    return sector;
}

}  // namespace

void carrySectorChecksums(const ImageFile& file, ImageEdit& edit) {
    // In file order, so that each sector finds its changes by a search; the edit's changes do
    // not overlap, so their ends come in the same order.
    std::stable_sort(edit.changes.begin(), edit.changes.end(),
                     [](const ByteChange& a, const ByteChange& b) { return a.offset < b.offset; });
    std::vector<ByteRun> places;
    for (const std::int64_t s : touchedSectors(edit, file.size()))
        places.push_back({s * kRawSectorSize, kRawSectorSize});
    const std::vector<Bytes> now = file.read(places);
    std::vector<ByteChange> checksums;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const std::int64_t start = places[i].offset;
        const RawSector before = std::span(now[i]).first<kRawSectorSize>();
        const std::span<const SectorRun> runs = checksumRuns(sectorKind(before));
        if (runs.empty() || !checkSector(before).right())
            continue;
        // One change from the EDC to the end of the sector: Mode 1's zero bytes between keep
        // their values in it.
        const auto from = static_cast<std::int64_t>(runs.front().from);
        const auto to = static_cast<std::int64_t>(runs.back().to);
        if (!changesIn(edit.changes, start + from, start + to).empty())
            continue;
        Bytes after = edited(now[i], start, changesIn(edit.changes, start, start + kRawSectorSize));
        const Regeneration regenerated =
            regenerateChecksums(std::span(after).first<kRawSectorSize>());
        if (regenerated.allowed && regenerated.changed())
            checksums.push_back({start + from, Bytes(now[i].begin() + from, now[i].begin() + to),
                                 Bytes(after.begin() + from, after.begin() + to)});
    }
    edit.checksumSectors += static_cast<std::uint32_t>(checksums.size());
    edit.changes.insert(edit.changes.end(), checksums.begin(), checksums.end());
    std::stable_sort(edit.changes.begin(), edit.changes.end(),
                     [](const ByteChange& a, const ByteChange& b) { return a.offset < b.offset; });
}

}  // namespace tavrel
