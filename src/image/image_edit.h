// A planned edit of the image: every place it writes, with the bytes there before and after.
// Planning reads (and so checks) every place before anything is written; applying writes all
// places and syncs, or puts every place back as it was.
#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "image/file_error.h"

namespace tavrel {

class ImageFile;

struct ByteChange {
    std::int64_t offset = 0;
    Bytes before;
    Bytes after;  // as long as `before`
};

// Single bytes by offset, each with its old and its new value.
using ByteValues = std::map<std::int64_t, std::pair<std::uint8_t, std::uint8_t>>;

// The runs of bytes an edit changes, with their old and new values. Within one change, bytes
// that keep their value join a run when no more than `gap` of them stand between changed ones
// (a sector's new checksums differ from the old in scattered bytes: a few runs, not dozens).
std::vector<ByteChange> changedRuns(const std::vector<ByteChange>& changes, std::size_t gap = 0);
// The runs of consecutive bytes whose value changes, none longer than `longest`.
std::vector<ByteChange> changedRuns(const ByteValues& bytes,
                                    std::size_t longest = std::numeric_limits<std::size_t>::max());

struct ImageEdit {
    std::vector<ByteChange> changes;
    std::string description;  // how the change log names it: "Salva Denmark: N° 82"
    // Only the places are written, whatever becomes of their sectors' checksums (a repair
    // writes them itself; an expert may ask for it). Otherwise the session carries them
    // (checksum_carry.h).
    bool leaveChecksums = false;
    std::uint32_t checksumSectors = 0;  // sectors whose EDC and ECC the edit rewrites
};

// Throws FileError TooShort unless every place of the edit lies inside the file. (A container
// or cooked image never gets this far: opening refuses it, image_name.h.)
void checkEdit(const ImageFile& file, const ImageEdit& edit);

// Writes every change of a checked edit and syncs. When a write or the sync fails, the places
// written so far get their old bytes back and are synced, and the FileError says whether that
// worked (`restore`, `unrestored`).
void writeEdit(ImageFile& file, const ImageEdit& edit);

}  // namespace tavrel
