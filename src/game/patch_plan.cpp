// Planning a PPF or VCDIFF patch against an open image.
#include "game/patch_plan.h"

#include <algorithm>

#include "image/checksum_carry.h"
#include "journal/adler32.h"
#include "journal/image_session.h"
#include "journal/image_view.h"

namespace tavrel {
namespace {

// Each byte the patch writes: the value it expects there, and the one it writes.
using PatchBytes = ByteValues;

// Where the checksum bytes of a sector of this kind start; past its end for one without.
std::int64_t checksumArea(SectorKind kind) {
    return kind == SectorKind::NoSync || kind == SectorKind::OtherMode ? kRawSectorSize
                                                                       : checksumsStart(kind);
}

// Consecutive offsets of `bytes` as runs.
std::vector<ByteRun> runsOf(const PatchBytes& bytes) {
    std::vector<ByteRun> runs;
    for (const auto& entry : bytes) {
        if (!runs.empty() && runs.back().offset + runs.back().length == entry.first)
            ++runs.back().length;
        else
            runs.push_back({entry.first, 1});
    }
    return runs;
}

// The edit, conflicts and places of writing `patched` over the image as it stands.
void settle(PatchPlan& plan, const ImageFile& file, const PatchBytes& patched) {
    const std::vector<ByteRun> runs = runsOf(patched);
    const std::vector<Bytes> read = file.read(runs);
    std::map<std::int64_t, std::uint8_t> now;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        for (std::int64_t i = 0; i < runs[r].length; ++i)
            now[runs[r].offset + i] = read[r][static_cast<std::size_t>(i)];
    }
    // Each sector's checksum area, and whether its checksum bytes met other data.
    std::map<std::int64_t, std::int64_t> areaOf;
    std::vector<ByteRun> sectors;
    for (const auto& [offset, values] : patched) {
        const std::int64_t sector = offset / kRawSectorSize;
        if (offset % kRawSectorSize >= static_cast<std::int64_t>(kMode1EdcAt) &&
            !areaOf.contains(sector) && (sector + 1) * kRawSectorSize <= file.size()) {
            areaOf[sector] = kRawSectorSize;
            sectors.push_back({sector * kRawSectorSize, kRawSectorSize});
        }
    }
    const std::vector<Bytes> whole = file.read(sectors);
    for (std::size_t s = 0; s < sectors.size(); ++s)
        areaOf[sectors[s].offset / kRawSectorSize] =
            checksumArea(sectorKind(std::span(whole[s]).first<kRawSectorSize>()));
    const auto inArea = [&](std::int64_t offset) {
        const auto area = areaOf.find(offset / kRawSectorSize);
        return area != areaOf.end() && offset % kRawSectorSize >= area->second;
    };
    std::set<std::int64_t> otherData;  // sectors whose checksum bytes hold neither value
    for (const auto& [offset, values] : patched) {
        const std::uint8_t found = now[offset];
        if (inArea(offset) && found != values.first && found != values.second)
            otherData.insert(offset / kRawSectorSize);
    }
    ByteValues writes;
    for (const auto& [offset, values] : patched) {
        const std::uint8_t found = now[offset];
        if (found == values.second ||
            (inArea(offset) && otherData.contains(offset / kRawSectorSize)))
            continue;
        if (found != values.first)
            plan.conflicts.push_back(offset);
        writes[offset] = {found, values.second};
        plan.places.add(offset);
    }
    plan.edit.changes = changedRuns(writes);
}

// The bytes a VCDIFF patch writes, decoded over `view`: where its target differs from the view.
struct Decoded {
    PatchBytes bytes;
    std::int64_t mismatchAt = -1;  // the first window whose checksum disagrees
};

bool decode(const VcdiffPatch& patch, const ImageView& view, PatchPlan& plan, Decoded& decoded) {
    const std::int64_t size = view.size();
    for (const VcdiffWindow& window : patch.windows) {
        if (!window.checksum && copiesInPlace(window))
            continue;  // writes the bytes the image holds
        Bytes segment;
        if (window.segment != VcdiffWindow::Segment::None) {
            const std::int64_t end = window.segmentOffset + window.segmentLength;
            const std::int64_t limit =
                window.segment == VcdiffWindow::Segment::Source ? size : window.targetOffset;
            if (end > limit) {
                if (window.segment == VcdiffWindow::Segment::Source)
                    plan.pastEnd = end;
                else
                    plan.fault = {PatchFault::Kind::BadInstruction, window.at, {}};
                return false;
            }
            segment =
                view.read(window.segmentOffset, static_cast<std::size_t>(window.segmentLength));
            if (window.segment == VcdiffWindow::Segment::Target) {
                // The target written so far: the view with the earlier windows' bytes.
                for (auto at = decoded.bytes.lower_bound(window.segmentOffset);
                     at != decoded.bytes.end() && at->first < end; ++at)
                    segment[static_cast<std::size_t>(at->first - window.segmentOffset)] =
                        at->second.second;
            }
        }
        const WindowDecoding target = decodeWindow(window, segment);
        if (!target.target) {
            plan.fault = target.fault;
            return false;
        }
        if (window.checksum && adler32(*target.target) != *window.checksum &&
            decoded.mismatchAt < 0)
            decoded.mismatchAt = window.targetOffset;
        const bool inPlace = window.segment == VcdiffWindow::Segment::Source &&
                             window.segmentOffset == window.targetOffset &&
                             window.segmentLength == window.targetLength;
        const Bytes base =
            inPlace ? std::move(segment)
                    : view.read(window.targetOffset, static_cast<std::size_t>(window.targetLength));
        for (std::size_t i = 0; i < base.size(); ++i) {
            if (base[i] != (*target.target)[i])
                decoded.bytes[window.targetOffset + static_cast<std::int64_t>(i)] = {
                    base[i], (*target.target)[i]};
        }
    }
    return true;
}

}  // namespace

PatchPlan planPatch(const ImageSession& session, const PpfPatch& patch) {
    PatchPlan plan;
    const ImageFile& file = session.file();
    const std::int64_t size = file.size();
    const ImageView before = ImageView::beforeLog(session);
    if (patch.imageSize && *patch.imageSize != size)
        plan.madeForSize = *patch.imageSize;
    for (const ByteChange& record : patch.records) {
        const std::int64_t end = record.offset + static_cast<std::int64_t>(record.after.size());
        if (end > size) {
            plan.pastEnd = std::max(record.offset, size);
            return plan;
        }
    }
    if (patch.forGiImage) {
        plan.mismatch = PatchPlan::Mismatch::GiImage;
    } else if (!patch.block.empty()) {
        const auto blockSize = static_cast<std::int64_t>(patch.block.size());
        if (patch.blockAt + blockSize > size ||
            before.read(patch.blockAt, patch.block.size()) != patch.block) {
            plan.mismatch = PatchPlan::Mismatch::Block;
            plan.mismatchAt = patch.blockAt;
        }
    }
    PatchBytes patched;  // a later record writing the same byte wins
    for (const ByteChange& record : patch.records) {
        for (std::size_t i = 0; i < record.after.size(); ++i) {
            const std::int64_t offset = record.offset + static_cast<std::int64_t>(i);
            const std::uint8_t expected = patch.undo ? record.before[i] : 0;
            patched.try_emplace(offset, expected, record.after[i]).first->second.second =
                record.after[i];
        }
    }
    if (!patch.undo) {
        const std::vector<ByteRun> runs = runsOf(patched);
        const std::vector<Bytes> expected = before.read(runs);
        for (std::size_t r = 0; r < runs.size(); ++r) {
            for (std::int64_t i = 0; i < runs[r].length; ++i)
                patched[runs[r].offset + i].first = expected[r][static_cast<std::size_t>(i)];
        }
    }
    settle(plan, file, patched);
    return plan;
}

PatchPlan planPatch(const ImageSession& session, const VcdiffPatch& patch) {
    PatchPlan plan;
    const ImageFile& file = session.file();
    if (patch.targetSize != file.size()) {
        plan.targetSize = patch.targetSize;
        return plan;
    }
    const ImageView now(file);
    Decoded decoded;
    if (!decode(patch, now, plan, decoded))
        return plan;
    // A patch made for the image before its logged changes: their bytes are merged with its.
    if (decoded.mismatchAt >= 0) {
        const ImageView before = ImageView::beforeLog(session);
        Decoded fromBefore;
        if (before.overlaid() && decode(patch, before, plan, fromBefore) &&
            fromBefore.mismatchAt < 0)
            decoded = std::move(fromBefore);
        plan.fault = {};
        plan.pastEnd = -1;
    }
    if (decoded.mismatchAt >= 0) {
        plan.mismatch = PatchPlan::Mismatch::Checksum;
        plan.mismatchAt = decoded.mismatchAt;
    }
    settle(plan, file, decoded.bytes);
    return plan;
}

}  // namespace tavrel
