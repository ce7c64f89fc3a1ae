// VCDIFF patches (RFC 3284) as xdelta3 and Tavrel write them: the default code table, windows
// that copy from the source file or from the target written so far, and xdelta3's Adler-32 of
// each target window. Secondary compression and code tables of a patch's own are refused by
// name. Reading splits the patch into its windows; decoding one turns it into its target bytes
// from the bytes of its source segment, which the caller reads.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "image/file_error.h"
#include "journal/patch_fault.h"

namespace tavrel {

// The largest source segment or target window decoded: xdelta3 writes at most 16 MiB windows
// and, by default, 64 MiB source segments.
inline constexpr std::int64_t kLargestVcdiffWindow = std::int64_t{1} << 26;

struct VcdiffWindow {
    enum class Segment { None, Source, Target };
    Segment segment = Segment::None;
    std::int64_t segmentOffset = 0, segmentLength = 0;
    std::int64_t targetOffset = 0, targetLength = 0;  // where the window lies in the target
    std::optional<std::uint32_t> checksum;            // Adler-32 of the target bytes
    std::span<const std::uint8_t> data, instructions, addresses;  // into the patch's bytes
    std::int64_t at = 0;  // where the window starts in the patch
};

struct VcdiffPatch {
    std::vector<VcdiffWindow> windows;
    std::int64_t targetSize = 0;
};

struct VcdiffReading {
    std::optional<VcdiffPatch> patch;  // its windows point into the bytes read
    PatchFault fault;                  // why there is none
};

VcdiffReading readVcdiff(std::span<const std::uint8_t> bytes);

struct WindowDecoding {
    std::optional<Bytes> target;
    PatchFault fault;  // BadInstruction at the window, when an instruction does not fit it
};

// True when the window copies its source segment whole to the same place in the target: it
// writes back the bytes the source holds there.
bool copiesInPlace(const VcdiffWindow& window);

// The target bytes of `window`; `segment` holds the bytes of its source segment.
WindowDecoding decodeWindow(const VcdiffWindow& window, std::span<const std::uint8_t> segment);

}  // namespace tavrel
