// Planning a PPF or VCDIFF patch against an open image.
#include "game/patch_plan.h"

#include <algorithm>

#include "image/checksum_carry.h"
#include "journal/adler32.h"
#include "journal/image_session.h"
#include "journal/image_view.h"

namespace tavrel {
namespace {

// The stretches a patch writes, sorted by offset and apart: the bytes it expects there
// (`before`) and those it writes (`after`).
using PatchRuns = std::vector<ByteChange>;

// Adds one byte, joining the last run when it follows it.
void append(PatchRuns& runs, std::int64_t offset, std::uint8_t before, std::uint8_t after) {
    if (runs.empty() ||
        runs.back().offset + static_cast<std::int64_t>(runs.back().after.size()) != offset)
        runs.push_back({offset, {}, {}});
    runs.back().before.push_back(before);
    runs.back().after.push_back(after);
}

std::vector<ByteRun> placesOf(const PatchRuns& runs) {
    std::vector<ByteRun> places;
    for (const ByteChange& run : runs)
        places.push_back({run.offset, static_cast<std::int64_t>(run.after.size())});
    return places;
}

// Where the checksum bytes of a sector of this kind start; past its end for one without.
std::int64_t checksumArea(SectorKind kind) {
    const std::span<const SectorRun> runs = checksumRuns(kind);
    return runs.empty() ? kRawSectorSize : static_cast<std::int64_t>(runs.front().from);
}

// Where each whole sector that `patched` may write checksum bytes of keeps them.
std::map<std::int64_t, std::int64_t> checksumAreas(const ImageFile& file,
                                                   const PatchRuns& patched) {
    std::vector<ByteRun> sectors;
    for (const ByteChange& run : patched) {
        const std::int64_t end = run.offset + static_cast<std::int64_t>(run.after.size());
        for (std::int64_t s = run.offset / kRawSectorSize; s * kRawSectorSize < end; ++s) {
            const bool reaches = end > s * kRawSectorSize + static_cast<std::int64_t>(kMode1EdcAt);
            if (reaches && (s + 1) * kRawSectorSize <= file.size() &&
                (sectors.empty() || sectors.back().offset < s * kRawSectorSize))
                sectors.push_back({s * kRawSectorSize, kRawSectorSize});
        }
    }
    const std::vector<Bytes> whole = file.read(sectors);
    std::map<std::int64_t, std::int64_t> areas;
    for (std::size_t s = 0; s < sectors.size(); ++s)
        areas[sectors[s].offset / kRawSectorSize] =
            checksumArea(sectorKind(std::span(whole[s]).first<kRawSectorSize>()));
    return areas;
}

// The edit, conflicts and places of writing `patched` over the image as it stands.
void settle(PatchPlan& plan, const ImageFile& file, const PatchRuns& patched) {
    const std::vector<Bytes> now = file.read(placesOf(patched));
    const std::map<std::int64_t, std::int64_t> areas = checksumAreas(file, patched);
    const auto inArea = [&](std::int64_t offset) {
        const auto area = areas.find(offset / kRawSectorSize);
        return area != areas.end() && offset % kRawSectorSize >= area->second;
    };
    // Calls `visit` with each byte's offset, the value found, expected and written.
    const auto eachByte = [&](const auto& visit) {
        for (std::size_t r = 0; r < patched.size(); ++r) {
            for (std::size_t i = 0; i < now[r].size(); ++i)
                visit(patched[r].offset + static_cast<std::int64_t>(i), now[r][i],
                      patched[r].before[i], patched[r].after[i]);
        }
    };
    std::set<std::int64_t> otherData;  // sectors whose checksum bytes hold neither value
    eachByte([&](std::int64_t at, std::uint8_t found, std::uint8_t expected, std::uint8_t to) {
        if (inArea(at) && found != expected && found != to)
            otherData.insert(at / kRawSectorSize);
    });
    eachByte([&](std::int64_t at, std::uint8_t found, std::uint8_t expected, std::uint8_t to) {
        if (found == to || (inArea(at) && otherData.contains(at / kRawSectorSize)))
            return;
        if (found != expected)
            plan.conflicts.push_back(at);
        append(plan.edit.changes, at, found, to);
        plan.places.add(at);
    });
}

// The bytes a VCDIFF patch writes, decoded over `view`: where its target differs from the view.
struct Decoded {
    PatchRuns runs;
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
            const bool source = window.segment == VcdiffWindow::Segment::Source;
            if (end > (source ? size : window.targetOffset)) {
                if (source)
                    plan.pastEnd = end;
                else
                    plan.fault = {PatchFault::Kind::BadInstruction, window.at, {}};
                return false;
            }
            segment =
                view.read(window.segmentOffset, static_cast<std::size_t>(window.segmentLength));
            // The target written so far: the view with the earlier windows' bytes.
            if (!source)
                layRuns(segment, window.segmentOffset, decoded.runs, true);
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
                append(decoded.runs, window.targetOffset + static_cast<std::int64_t>(i), base[i],
                       (*target.target)[i]);
        }
    }
    return true;
}

// The records as the bytes they write, a later record writing a byte again winning as a
// patcher applies them, the first one's old byte staying the one expected.
PatchRuns recordRuns(const PpfPatch& patch) {
    PatchRuns runs = patch.records;
    std::stable_sort(runs.begin(), runs.end(),
                     [](const ByteChange& a, const ByteChange& b) { return a.offset < b.offset; });
    const auto overlaps = [](const ByteChange& a, const ByteChange& b) {
        return a.offset + static_cast<std::int64_t>(a.after.size()) > b.offset;
    };
    for (ByteChange& run : runs) run.before.resize(run.after.size());  // filled when no undo
    if (std::adjacent_find(runs.begin(), runs.end(), overlaps) == runs.end())
        return runs;
    ByteValues bytes;
    for (const ByteChange& record : patch.records) {
        for (std::size_t i = 0; i < record.after.size(); ++i) {
            const std::uint8_t expected = patch.undo ? record.before[i] : 0;
            bytes.try_emplace(record.offset + static_cast<std::int64_t>(i), expected, 0)
                .first->second.second = record.after[i];
        }
    }
    runs.clear();
    for (const auto& [offset, values] : bytes) append(runs, offset, values.first, values.second);
    return runs;
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
    PatchRuns patched = recordRuns(patch);
    if (!patch.undo) {
        const std::vector<Bytes> expected = before.read(placesOf(patched));
        for (std::size_t r = 0; r < patched.size(); ++r) patched[r].before = expected[r];
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
    settle(plan, file, decoded.runs);
    return plan;
}

}  // namespace tavrel
