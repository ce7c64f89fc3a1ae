// What applying a patch to the open image would write, found before the first byte is: the
// bytes it changes by team and place, the bytes where the image holds neither what the patch
// expects nor what it writes (another change got there first), and whether the image is the one
// the patch was made for. The patch's expectations: its undo data (PPF 3.0 with undo data), or
// the image before the changes its log records (a PPF without undo data; a VCDIFF patch, whose
// window checksums must also agree, tried first on the image as it stands).
//
// Checksum bytes at a sector's end follow its data: where the image holds other data in a
// sector than the patch was made against, the patch's checksum bytes for it would be wrong, so
// they are left out and the write computes the sector's own (checksum_carry.h).
#pragma once

#include <vector>

#include "game/place_map.h"
#include "image/image_edit.h"
#include "journal/patch_fault.h"
#include "journal/ppf_reading.h"
#include "journal/vcdiff_reading.h"

namespace tavrel {

class ImageSession;

struct PatchPlan {
    // The patch says it was made for another image (refused unless forced).
    enum class Mismatch {
        None,
        Block,     // the PPF's block check differs from the image at `mismatchAt`
        GiImage,   // a PPF for a GI image, not a raw .bin
        Checksum,  // a VCDIFF window's checksum (window starting at `mismatchAt`) disagrees
    };
    Mismatch mismatch = Mismatch::None;
    std::int64_t mismatchAt = -1;

    // The patch cannot be applied to this image at all.
    PatchFault fault;               // an instruction found bad while decoding
    std::int64_t pastEnd = -1;      // a byte it reads or writes past the image's end
    std::int64_t targetSize = -1;   // the size a VCDIFF patch makes, when not the image's

    std::int64_t madeForSize = -1;  // a PPF 2.0's image size, when not this one's (a note)

    std::vector<std::int64_t> conflicts;  // in file order
    ImageEdit edit;                       // conflicting bytes included: the caller decides
    PlaceTally places;                    // the bytes the edit changes

    // False when the patch cannot be applied to this image at all (fault, pastEnd, targetSize).
    bool applicable() const {
        return fault.kind == PatchFault::Kind::None && pastEnd < 0 && targetSize < 0;
    }
    // True when the image is the one the patch expects, at every byte: nothing to force.
    bool asExpected() const { return mismatch == Mismatch::None && conflicts.empty(); }
};

PatchPlan planPatch(const ImageSession& session, const PpfPatch& patch);
PatchPlan planPatch(const ImageSession& session, const VcdiffPatch& patch);

}  // namespace tavrel
