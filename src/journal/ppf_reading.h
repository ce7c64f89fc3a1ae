// PPF patches as patchers and Tavrel make them: versions 1.0, 2.0 and 3.0, with or without undo
// data (3.0), with the 1024 image bytes the patch was made against (2.0 always, 3.0 when its
// block check is on) and a file_id.diz text at the end (2.0, 3.0). Read from bytes in memory.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/image_edit.h"
#include "journal/patch_fault.h"

namespace tavrel {

// Where the block check's bytes lie in the image the patch was made for: a raw .bin's sector
// 16, or a GI image's.
inline constexpr std::int64_t kPpfBlockAtBin = 0x9320;
inline constexpr std::int64_t kPpfBlockAtGi = 0x80A0;
inline constexpr std::size_t kPpfBlockSize = 1024;

struct PpfPatch {
    int version = 3;                        // 1, 2 or 3
    std::string description;                // its blanks and zero bytes at the end left out
    std::optional<std::int64_t> imageSize;  // 2.0: the size of the image it was made from
    bool forGiImage = false;                // 3.0: made for a GI image, not a raw .bin
    Bytes block;  // the image's bytes at `blockAt` it was made against; empty: none
    std::int64_t blockAt = kPpfBlockAtBin;
    std::string fileId;               // the file_id.diz text, empty when there is none
    bool undo = false;                // every record holds the bytes it replaces
    std::vector<ByteChange> records;  // in file order; `before` empty without undo data
};

struct PpfReading {
    std::optional<PpfPatch> patch;
    PatchFault fault;  // why there is no patch
};

PpfReading readPpf(std::span<const std::uint8_t> bytes);

}  // namespace tavrel
