// The sector checksums of an open image, read chunk by chunk: never the whole image in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "sector/sector_verify.h"

namespace tavrel {

class ImageFile;

// Called after each chunk with the sectors done so far and in all.
using VerifyProgress = std::function<void(std::int64_t done, std::int64_t total)>;

// Every whole sector of the image (bytes after the last whole sector are not a sector). Two
// threads check each chunk while a third reads the next one.
VerifyTally verifyImage(const ImageFile& file, const VerifyProgress& progress = {});

// The given sectors only, in the order given.
VerifyTally verifyImageSectors(const ImageFile& file, std::span<const std::int64_t> sectors);

}  // namespace tavrel
