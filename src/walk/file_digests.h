// One pass over a whole image file for what tavrel-tool info tells of it: CRC32 (zlib), MD5 and
// SHA-1 (the system's), and its whole sectors by kind. The file is read once, in large pieces;
// the three digests run side by side on pieces already read while the next is being read.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sector/sector_checks.h"
#include "walk/sector_walk.h"

namespace tavrel {

class ImageFile;

struct FileDigests {
    std::uint32_t crc32 = 0;
    std::vector<std::uint8_t> md5, sha1;
    std::array<std::int64_t, kSectorKindCount> kinds{};  // by SectorKind

    std::int64_t count(SectorKind kind) const { return kinds[static_cast<std::size_t>(kind)]; }
};

// Throws FileError when the file cannot be read.
FileDigests digestFile(const ImageFile& file, const VerifyProgress& progress = {});

}  // namespace tavrel
