// The sector checksums an edit carries, so that every write keeps a valid sector valid: a
// sector the edit touches whose EDC and ECC check right before it gets them computed over its
// new data, in the same edit. A sector whose checksums were wrong, or that has none (Form 2
// without an EDC, no sync, another mode), keeps its checksum bytes exactly as they are: the
// edit does not repair what it did not break.
#pragma once

#include <cstdint>

#include "image/image_edit.h"
#include "sector/sector_checks.h"

namespace tavrel {

class ImageFile;

// Adds the new checksum bytes of the sectors `edit` touches that check right now, counts those
// sectors in `edit.checksumSectors`, and puts the edit's changes in file order. A sector whose
// checksum bytes the edit writes itself is left to it.
void carrySectorChecksums(const ImageFile& file, ImageEdit& edit);

}  // namespace tavrel
