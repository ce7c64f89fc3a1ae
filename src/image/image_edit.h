// A planned edit of the image: every place it writes, with the bytes there before and after.
// Planning reads (and so checks) every place before anything is written; applying writes all
// places and syncs, or puts every place back as it was.
#pragma once

#include <cstdint>
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

struct ImageEdit {
    std::vector<ByteChange> changes;
    std::string description;  // how the change log names it: "Salva Denmark: N° 82"
};

// Throws FileError unless every place of the edit may be written: a 2048-byte-sector (ISO)
// image is refused (NotRawImage), as the game's offsets are those of a raw image, and so is a
// place past the end of the file (TooShort).
void checkEdit(const ImageFile& file, const ImageEdit& edit);

// Writes every change of a checked edit and syncs. When a write or the sync fails, the places
// written so far get their old bytes back and are synced, and the FileError says whether that
// worked (`restore`, `unrestored`).
void writeEdit(ImageFile& file, const ImageEdit& edit);

// True when the file carries an ISO 9660 volume descriptor where a 2048-byte-sector image has
// it (sector 16, plus one byte). A raw image has it 37657 bytes in instead.
bool isCookedIsoImage(const ImageFile& file);

}  // namespace tavrel
