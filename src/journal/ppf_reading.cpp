// Reading PPF 1.0, 2.0 and 3.0 patches.
#include "journal/ppf_reading.h"

#include <algorithm>
#include <string_view>

namespace tavrel {
namespace {

constexpr std::size_t kDescriptionAt = 6, kDescriptionSize = 50;
constexpr std::size_t kBlockFieldAt = 60;
constexpr std::string_view kFileIdBegin = "@BEGIN_FILE_ID.DIZ";
constexpr std::string_view kFileIdEnd = "@END_FILE_ID.DIZ";

PpfReading fault(PatchFault::Kind kind, std::size_t at) {
    return {std::nullopt, {kind, static_cast<std::int64_t>(at), {}}};
}

bool holds(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view text) {
    return at + text.size() <= bytes.size() &&
           std::equal(text.begin(), text.end(), bytes.begin() + static_cast<long>(at));
}

// Where the records end: before a file_id.diz text, which ends in "@END_FILE_ID.DIZ" and its
// length (4 bytes in 2.0, 2 in 3.0). The text is taken out into `fileId`.
std::size_t recordsEnd(std::span<const std::uint8_t> bytes, int version, std::size_t start,
                       std::string& fileId) {
    const std::size_t lengthSize = version == 2 ? 4 : 2;
    const std::size_t trailer = kFileIdBegin.size() + kFileIdEnd.size() + lengthSize;
    if (version < 2 || bytes.size() < start + trailer)
        return bytes.size();
    const std::size_t endAt = bytes.size() - lengthSize - kFileIdEnd.size();
    if (!holds(bytes, endAt, kFileIdEnd))
        return bytes.size();
    std::size_t length = 0;
    for (std::size_t i = 0; i < lengthSize; ++i)
        length |= std::size_t{bytes[endAt + kFileIdEnd.size() + i]} << (8 * i);
    // Some makers count the length otherwise: the text then starts at the last begin marker.
    std::size_t beginAt = endAt - std::min(endAt, length + kFileIdBegin.size());
    if (!holds(bytes, beginAt, kFileIdBegin)) {
        beginAt = bytes.size();
        for (std::size_t at = endAt - kFileIdBegin.size() + 1; at-- > start;) {
            if (holds(bytes, at, kFileIdBegin)) {
                beginAt = at;
                break;
            }
        }
        if (beginAt == bytes.size())
            return bytes.size();
    }
    const auto text = bytes.begin() + static_cast<long>(beginAt + kFileIdBegin.size());
    fileId.assign(text, bytes.begin() + static_cast<long>(endAt));
    return beginAt;
}

}  // namespace

PpfReading readPpf(std::span<const std::uint8_t> bytes) {
    if (!holds(bytes, 0, "PPF"))
        return fault(PatchFault::Kind::NotAPatch, 0);
    if (bytes.size() < 5)
        return fault(PatchFault::Kind::Truncated, bytes.size());
    if (bytes[3] < '1' || bytes[3] > '3' || bytes[4] != '0')
        return fault(PatchFault::Kind::UnknownVersion, 3);
    PpfPatch patch;
    patch.version = bytes[3] - '0';
    if (bytes.size() < kBlockFieldAt)
        return fault(PatchFault::Kind::Truncated, bytes.size());
    if (bytes[5] != patch.version - 1)
        return fault(PatchFault::Kind::UnknownVersion, 5);
    const auto description = bytes.subspan(kDescriptionAt, kDescriptionSize);
    patch.description.assign(description.begin(), description.end());
    patch.description.erase(patch.description.find_last_not_of(std::string_view(" \0", 2)) + 1);

    std::size_t start = 56;
    bool blockCheck = patch.version == 2;
    if (patch.version == 2) {
        patch.imageSize =
            bytes[56] | bytes[57] << 8 | bytes[58] << 16 | std::int64_t{bytes[59]} << 24;
    } else if (patch.version == 3) {
        patch.forGiImage = bytes[56] == 1;
        blockCheck = bytes[57] == 1;
        patch.undo = bytes[58] == 1;
        start = kBlockFieldAt;
    }
    if (patch.forGiImage)
        patch.blockAt = kPpfBlockAtGi;
    if (blockCheck) {
        if (bytes.size() < kBlockFieldAt + kPpfBlockSize)
            return fault(PatchFault::Kind::Truncated, bytes.size());
        const auto block = bytes.subspan(kBlockFieldAt, kPpfBlockSize);
        patch.block.assign(block.begin(), block.end());
        start = kBlockFieldAt + kPpfBlockSize;
    }

    const std::size_t end = recordsEnd(bytes, patch.version, start, patch.fileId);
    PatchCursor cursor(bytes.first(end));
    cursor.skipTo(start);
    const int offsetSize = patch.version == 3 ? 8 : 4;
    while (cursor.left() > 0) {
        const std::size_t at = cursor.at();
        std::uint64_t offset = 0, length = 0;
        std::span<const std::uint8_t> after, before;
        if (!cursor.little(offset, offsetSize) || !cursor.little(length, 1) ||
            !cursor.bytes(after, length) || (patch.undo && !cursor.bytes(before, length)))
            return fault(PatchFault::Kind::Truncated, at);
        if (length == 0)
            return fault(PatchFault::Kind::EmptyRecord, at);
        if (offset >> 62 != 0)
            return fault(PatchFault::Kind::Malformed, at);
        patch.records.push_back({static_cast<std::int64_t>(offset),
                                 Bytes(before.begin(), before.end()),
                                 Bytes(after.begin(), after.end())});
    }
    return {std::move(patch), {}};
}

}  // namespace tavrel
