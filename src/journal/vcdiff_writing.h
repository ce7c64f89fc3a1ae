// A VCDIFF patch (RFC 3284) of changes to an image of unchanged size, as xdelta3 applies it: one
// window for each group of sectors holding changes, its target copied from the same place in
// the source but for the bytes added, with the Adler-32 of its target (xdelta3's window
// checksum) so that applying it to another image fails there; and between them windows that
// copy the source whole, which need no checksum: they write what the image already holds.
#pragma once

#include <vector>

#include "image/image_edit.h"
#include "image/raw_geometry.h"

namespace tavrel {

// The largest window xdelta3's decoder accepts.
inline constexpr std::int64_t kVcdiffWindowLimit = std::int64_t{1} << 24;

struct VcdiffWindowPlan {
    ByteRun span;
    bool changes = false;  // holds changed bytes: its source and target bytes are needed
};

// The windows a patch of `changes` (sorted by offset) to an image of `imageSize` bytes is cut
// into, in order, covering the whole image.
std::vector<VcdiffWindowPlan> planVcdiffWindows(std::int64_t imageSize,
                                                const std::vector<ByteChange>& changes);

struct VcdiffWindowBytes {
    ByteRun span;
    Bytes source, target;  // the image's bytes there before and after; both empty: copied whole
};

// The patch: the header, then each window in order.
Bytes encodeVcdiff(const std::vector<VcdiffWindowBytes>& windows);

}  // namespace tavrel
