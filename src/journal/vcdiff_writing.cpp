// Laying out and encoding a VCDIFF patch of in-place changes.
#include "journal/vcdiff_writing.h"

#include <algorithm>

#include "journal/adler32.h"
#include "journal/vcdiff_code.h"

namespace tavrel {
namespace {

// Changes nearer each other than this share a window: a window of its own costs some 40 bytes
// of the patch, a stretch copied within one costs reading and checking it.
constexpr std::int64_t kJoinedGap = 1 << 20;
// Unchanged bytes between two changed ones that are added as they are rather than copied: a
// COPY and the ADD after it cost about this much.
constexpr std::int64_t kAddedGap = 4;

struct Instruction {
    VcdiffOp op;
    std::int64_t from, size;  // in the window; for a COPY also its source address
};

// ADDs of the bytes that differ, gaps up to kAddedGap taken along; COPYs of the rest.
std::vector<Instruction> instructions(const Bytes& source, const Bytes& target) {
    std::vector<Instruction> list;
    const auto size = static_cast<std::int64_t>(target.size());
    std::int64_t at = 0;
    while (at < size) {
        std::int64_t same = at;
        while (same < size &&
               source[static_cast<std::size_t>(same)] == target[static_cast<std::size_t>(same)])
            ++same;
        if (same > at && (same == size || same - at > kAddedGap || list.empty()))
            list.push_back({VcdiffOp::Copy, at, same - at});
        else if (same > at)
            list.back().size += same - at;  // joins the ADD before it
        at = same;
        if (at == size)
            break;
        std::int64_t differs = at;
        while (differs < size && source[static_cast<std::size_t>(differs)] !=
                                     target[static_cast<std::size_t>(differs)])
            ++differs;
        if (!list.empty() && list.back().op == VcdiffOp::Add)
            list.back().size += differs - at;
        else
            list.push_back({VcdiffOp::Add, at, differs - at});
        at = differs;
    }
    return list;
}

// The three sections of a window whose source segment is `span` itself.
struct Sections {
    Bytes data, instructions, addresses;
};

// One opcode; a size its table entry leaves open follows it.
void emit(Sections& out, HalfInstruction first, HalfInstruction second = {},
          std::int64_t openSize = -1) {
    out.instructions.push_back(*opcodeFor(first, second));
    if (openSize >= 0)
        appendVarint(out.instructions, static_cast<std::uint64_t>(openSize));
}

void appendAddress(Sections& out, const AddressCache::Encoded& address) {
    if (AddressCache::byteMode(address.mode))
        out.addresses.push_back(static_cast<std::uint8_t>(address.value));
    else
        appendVarint(out.addresses, address.value);
}

Sections encodeWindow(const Bytes& source, const Bytes& target, std::int64_t length) {
    Sections out;
    const std::vector<Instruction> list =
        target.empty() ? std::vector<Instruction>{{VcdiffOp::Copy, 0, length}}
                       : instructions(source, target);
    AddressCache cache;
    // A COPY's address counts from the start of the source segment; the target follows it.
    const auto encode = [&](AddressCache& into, const Instruction& copy) {
        return into.encode(static_cast<std::uint64_t>(copy.from),
                           static_cast<std::uint64_t>(length + copy.from));
    };
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Instruction& now = list[i];
        if (now.op == VcdiffOp::Copy) {
            const AddressCache::Encoded address = encode(cache, now);
            const bool sized = now.size >= 4 && now.size <= 18;
            emit(out,
                 {VcdiffOp::Copy, static_cast<std::uint8_t>(sized ? now.size : 0),
                  static_cast<std::uint8_t>(address.mode)},
                 {}, sized ? -1 : now.size);
            appendAddress(out, address);
            continue;
        }
        const auto from = target.begin() + now.from;
        out.data.insert(out.data.end(), from, from + now.size);
        // An ADD of up to 4 bytes and a short COPY after it may share one opcode.
        if (now.size <= 4 && i + 1 < list.size() && list[i + 1].size <= 6) {
            AddressCache tried = cache;
            const AddressCache::Encoded address = encode(tried, list[i + 1]);
            const HalfInstruction add{VcdiffOp::Add, static_cast<std::uint8_t>(now.size), 0};
            const HalfInstruction copy{VcdiffOp::Copy, static_cast<std::uint8_t>(list[i + 1].size),
                                       static_cast<std::uint8_t>(address.mode)};
            if (opcodeFor(add, copy)) {
                emit(out, add, copy);
                appendAddress(out, address);
                cache = tried;
                ++i;
                continue;
            }
        }
        const bool sized = now.size <= 17;
        emit(out, {VcdiffOp::Add, static_cast<std::uint8_t>(sized ? now.size : 0), 0}, {},
             sized ? -1 : now.size);
    }
    return out;
}

}  // namespace

std::vector<VcdiffWindowPlan> planVcdiffWindows(std::int64_t imageSize,
                                                const std::vector<ByteChange>& changes) {
    // The whole sectors holding changes, those close together joined.
    std::vector<ByteRun> groups;
    for (const ByteChange& change : changes) {
        const std::int64_t end = change.offset + static_cast<std::int64_t>(change.after.size());
        const std::int64_t from = change.offset / kRawSectorSize * kRawSectorSize;
        const std::int64_t to =
            std::min(imageSize, (end + kRawSectorSize - 1) / kRawSectorSize * kRawSectorSize);
        if (!groups.empty() && from - (groups.back().offset + groups.back().length) < kJoinedGap)
            groups.back().length = std::max(groups.back().length, to - groups.back().offset);
        else
            groups.push_back({from, to - from});
    }
    std::vector<VcdiffWindowPlan> windows;
    const auto cover = [&](std::int64_t from, std::int64_t to, bool changed) {
        for (std::int64_t at = from; at < to; at += kVcdiffWindowLimit)
            windows.push_back({{at, std::min(kVcdiffWindowLimit, to - at)}, changed});
    };
    std::int64_t at = 0;
    for (const ByteRun& group : groups) {
        cover(at, group.offset, false);
        cover(group.offset, group.offset + group.length, true);
        at = group.offset + group.length;
    }
    cover(at, imageSize, false);
    return windows;
}

Bytes encodeVcdiff(const std::vector<VcdiffWindowBytes>& windows) {
    Bytes patch(kVcdiffMagic.begin(), kVcdiffMagic.end());
    patch.push_back(0);  // no secondary compressor, code table or application header
    for (const VcdiffWindowBytes& window : windows) {
        const Sections sections = encodeWindow(window.source, window.target, window.span.length);
        const bool checked = !window.target.empty();
        patch.push_back(checked ? kVcdSource | kVcdChecksum : kVcdSource);
        appendVarint(patch, static_cast<std::uint64_t>(window.span.length));
        appendVarint(patch, static_cast<std::uint64_t>(window.span.offset));
        Bytes encoding;
        appendVarint(encoding, static_cast<std::uint64_t>(window.span.length));
        encoding.push_back(0);  // no section compressed
        for (const Bytes* section : {&sections.data, &sections.instructions, &sections.addresses})
            appendVarint(encoding, section->size());
        if (checked) {
            const std::uint32_t sum = adler32(window.target);
            for (int shift = 24; shift >= 0; shift -= 8)
                encoding.push_back(static_cast<std::uint8_t>(sum >> shift));
        }
        for (const Bytes* section : {&sections.data, &sections.instructions, &sections.addresses})
            encoding.insert(encoding.end(), section->begin(), section->end());
        appendVarint(patch, encoding.size());
        patch.insert(patch.end(), encoding.begin(), encoding.end());
    }
    return patch;
}

}  // namespace tavrel
