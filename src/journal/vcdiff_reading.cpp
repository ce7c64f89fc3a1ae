// Reading VCDIFF windows and decoding their instructions.
#include "journal/vcdiff_reading.h"

#include <algorithm>
#include <string>

#include "journal/vcdiff_code.h"

namespace tavrel {
namespace {

using Kind = PatchFault::Kind;

VcdiffReading fault(Kind kind, std::size_t at, std::string name = {}) {
    return {std::nullopt, {kind, static_cast<std::int64_t>(at), std::move(name)}};
}

// xdelta3's numbers for its secondary compressors.
std::string compressorName(std::uint8_t id) {
    switch (id) {
        case 1:
            return "DJW";
        case 2:
            return "LZMA";
        case 16:
            return "FGK";
        default:
            return "n. " + std::to_string(id);
    }
}

// Reads one number, recording the fault when it is cut short or too large.
bool number(PatchCursor& cursor, std::uint64_t& value, PatchFault& fault) {
    bool overflow = false;
    if (cursor.varint(value, overflow))
        return true;
    fault = {
        overflow ? Kind::Malformed : Kind::Truncated, static_cast<std::int64_t>(cursor.at()), {}};
    return false;
}

// Reads one window's header and sections; `fault` says why not.
std::optional<VcdiffWindow> readWindow(PatchCursor& cursor, std::int64_t targetOffset,
                                       PatchFault& fault) {
    VcdiffWindow window;
    window.at = static_cast<std::int64_t>(cursor.at());
    window.targetOffset = targetOffset;
    std::uint64_t indicator = 0, segmentLength = 0, segmentOffset = 0, encodingLength = 0,
                  targetLength = 0, deltaIndicator = 0, dataLength = 0, instLength = 0,
                  addrLength = 0;
    const auto malformed = [&](std::size_t at) {
        fault = {Kind::Malformed, static_cast<std::int64_t>(at), {}};
        return std::nullopt;
    };
    cursor.little(indicator, 1);
    if ((indicator & ~std::uint64_t{kVcdSource | kVcdTarget | kVcdChecksum}) != 0 ||
        (indicator & (kVcdSource | kVcdTarget)) == (kVcdSource | kVcdTarget))
        return malformed(cursor.at() - 1);
    if (indicator & (kVcdSource | kVcdTarget)) {
        window.segment = (indicator & kVcdSource) ? VcdiffWindow::Segment::Source
                                                  : VcdiffWindow::Segment::Target;
        if (!number(cursor, segmentLength, fault) || !number(cursor, segmentOffset, fault))
            return std::nullopt;
    }
    if (!number(cursor, encodingLength, fault))
        return std::nullopt;
    const std::size_t encodingAt = cursor.at();
    if (!number(cursor, targetLength, fault))
        return std::nullopt;
    if (targetLength > kLargestVcdiffWindow || segmentLength > kLargestVcdiffWindow) {
        fault = {Kind::TooLarge, window.at, {}};
        return std::nullopt;
    }
    if (!cursor.little(deltaIndicator, 1)) {
        fault = {Kind::Truncated, static_cast<std::int64_t>(cursor.at()), {}};
        return std::nullopt;
    }
    // Compressed sections, which only a secondary compressor named in the header may unpack.
    if (deltaIndicator != 0)
        return malformed(encodingAt);
    if (!number(cursor, dataLength, fault) || !number(cursor, instLength, fault) ||
        !number(cursor, addrLength, fault))
        return std::nullopt;
    if (indicator & kVcdChecksum) {
        std::span<const std::uint8_t> sum;
        if (!cursor.bytes(sum, 4)) {
            fault = {Kind::Truncated, static_cast<std::int64_t>(cursor.at()), {}};
            return std::nullopt;
        }
        window.checksum = std::uint32_t{sum[0]} << 24 | std::uint32_t{sum[1]} << 16 |
                          std::uint32_t{sum[2]} << 8 | sum[3];
    }
    if (!cursor.bytes(window.data, dataLength) || !cursor.bytes(window.instructions, instLength) ||
        !cursor.bytes(window.addresses, addrLength)) {
        fault = {Kind::Truncated, window.at, {}};
        return std::nullopt;
    }
    if (cursor.at() - encodingAt != encodingLength)
        return malformed(encodingAt);
    window.segmentLength = static_cast<std::int64_t>(segmentLength);
    window.segmentOffset = static_cast<std::int64_t>(segmentOffset);
    window.targetLength = static_cast<std::int64_t>(targetLength);
    if (window.segmentOffset < 0 || window.segmentOffset > (std::int64_t{1} << 62))
        return malformed(static_cast<std::size_t>(window.at));
    return window;
}

}  // namespace

VcdiffReading readVcdiff(std::span<const std::uint8_t> bytes) {
    PatchCursor cursor(bytes);
    std::span<const std::uint8_t> magic;
    if (!cursor.bytes(magic, 3) || !std::equal(magic.begin(), magic.end(), kVcdiffMagic.begin()))
        return fault(
            recognisePatch(bytes) == PatchFormat::Vcdiff ? Kind::Truncated : Kind::NotAPatch, 0);
    std::uint64_t version = 0, indicator = 0;
    if (!cursor.little(version, 1) || !cursor.little(indicator, 1))
        return fault(Kind::Truncated, cursor.at());
    if (version != 0)
        return fault(Kind::UnknownVersion, 3);
    if ((indicator & ~std::uint64_t{kVcdSecondary | kVcdCodeTable | kVcdAppHeader}) != 0)
        return fault(Kind::Malformed, 4);
    if (indicator & kVcdSecondary) {
        std::uint64_t id = 0;
        if (!cursor.little(id, 1))
            return fault(Kind::Truncated, cursor.at());
        return fault(Kind::Compressed, 5, compressorName(static_cast<std::uint8_t>(id)));
    }
    if (indicator & kVcdCodeTable)
        return fault(Kind::CodeTable, 4);
    PatchFault problem;
    if (indicator & kVcdAppHeader) {
        std::uint64_t length = 0;
        std::span<const std::uint8_t> application;
        if (!number(cursor, length, problem))
            return {std::nullopt, problem};
        if (!cursor.bytes(application, length))
            return fault(Kind::Truncated, cursor.at());
    }
    VcdiffPatch patch;
    while (cursor.left() > 0) {
        std::optional<VcdiffWindow> window = readWindow(cursor, patch.targetSize, problem);
        if (!window)
            return {std::nullopt, problem};
        patch.targetSize += window->targetLength;
        patch.windows.push_back(*window);
    }
    return {std::move(patch), {}};
}

bool copiesInPlace(const VcdiffWindow& window) {
    if (window.segment != VcdiffWindow::Segment::Source ||
        window.segmentOffset != window.targetOffset ||
        window.segmentLength != window.targetLength || !window.data.empty())
        return false;
    PatchCursor instructions(window.instructions), addresses(window.addresses);
    std::uint64_t opcode = 0, value = 0;
    bool overflow = false;
    if (!instructions.little(opcode, 1))
        return false;
    const CodeEntry& entry = defaultCodeTable()[static_cast<std::size_t>(opcode)];
    std::uint64_t size = entry.first.size;
    if (entry.first.op != VcdiffOp::Copy || entry.second.op != VcdiffOp::Noop ||
        (size == 0 && !instructions.varint(size, overflow)) || instructions.left() != 0)
        return false;
    const bool read = AddressCache::byteMode(entry.first.mode) ? addresses.little(value, 1)
                                                               : addresses.varint(value, overflow);
    AddressCache cache;
    const auto here = static_cast<std::uint64_t>(window.segmentLength);
    return read && addresses.left() == 0 && size == here &&
           cache.decode(entry.first.mode, value, here) == std::uint64_t{0};
}

WindowDecoding decodeWindow(const VcdiffWindow& window, std::span<const std::uint8_t> segment) {
    const PatchFault bad{Kind::BadInstruction, window.at, {}};
    const auto segmentLength = static_cast<std::uint64_t>(segment.size());
    const auto targetLength = static_cast<std::uint64_t>(window.targetLength);
    Bytes target;
    target.reserve(static_cast<std::size_t>(targetLength));
    PatchCursor instructions(window.instructions), data(window.data), addresses(window.addresses);
    AddressCache cache;
    const std::array<CodeEntry, 256>& table = defaultCodeTable();
    // Runs one half of an instruction; false when it does not fit the window.
    const auto run = [&](HalfInstruction half) {
        std::uint64_t size = half.size, value = 0;
        bool overflow = false;
        if (size == 0 && !instructions.varint(size, overflow))
            return false;
        if (size > targetLength - target.size())
            return false;
        std::span<const std::uint8_t> bytes;
        switch (half.op) {
            case VcdiffOp::Add:
                if (!data.bytes(bytes, size))
                    return false;
                target.insert(target.end(), bytes.begin(), bytes.end());
                return true;
            case VcdiffOp::Run:
                if (!data.bytes(bytes, 1))
                    return false;
                target.insert(target.end(), static_cast<std::size_t>(size), bytes[0]);
                return true;
            case VcdiffOp::Copy:
            case VcdiffOp::Noop:
                break;
        }
        const std::uint64_t here = segmentLength + target.size();
        const bool read = AddressCache::byteMode(half.mode) ? addresses.little(value, 1)
                                                            : addresses.varint(value, overflow);
        const std::optional<std::uint64_t> address =
            read ? cache.decode(half.mode, value, here) : std::nullopt;
        if (!address || *address >= here)
            return false;
        if (*address < segmentLength) {
            // A copy from the segment may not run on into the target.
            if (size > segmentLength - *address)
                return false;
            const auto from = segment.begin() + static_cast<long>(*address);
            target.insert(target.end(), from, from + static_cast<long>(size));
            return true;
        }
        // From the target itself: it may overlap what it writes, repeating a pattern.
        for (std::uint64_t i = 0, from = *address - segmentLength; i < size; ++i)
            target.push_back(target[static_cast<std::size_t>(from + i)]);
        return true;
    };
    while (instructions.left() > 0) {
        std::uint64_t opcode = 0;
        instructions.little(opcode, 1);
        const CodeEntry& entry = table[static_cast<std::size_t>(opcode)];
        for (const HalfInstruction& half : {entry.first, entry.second}) {
            if (half.op != VcdiffOp::Noop && !run(half))
                return {std::nullopt, bad};
        }
    }
    if (target.size() != targetLength || data.left() != 0 || addresses.left() != 0)
        return {std::nullopt, bad};
    return {std::move(target), {}};
}

}  // namespace tavrel
