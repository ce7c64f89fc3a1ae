// Verification of an open image's EDC and ECC on the walk over its sectors: the kinds of its
// sectors counted, the wrong ones counted and the first of them listed.
#pragma once

#include <cstdint>
#include <span>

#include "sector/sector_verify.h"
#include "walk/sector_walk.h"

namespace tavrel {

// Every whole sector of the image (bytes after the last whole sector are not a sector).
VerifyTally verifyImage(const ImageFile& file, const VerifyProgress& progress = {},
                        const WalkOptions& options = {});

// The given sectors only, in the order given.
VerifyTally verifyImageSectors(const ImageFile& file, std::span<const std::int64_t> sectors,
                               const WalkOptions& options = {});

}  // namespace tavrel
