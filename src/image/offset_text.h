// Places in the image as a modder reads them in a hex editor: offsets in hex, runs of bytes by
// their first offset, and the bytes a failed write may have left. Both front ends word their
// messages with these, each in words of its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/file_error.h"
#include "image/raw_geometry.h"

namespace tavrel {

// "0xDB3F7C".
std::string hexOffset(std::int64_t offset);

// How hexRuns writes the end of a run longer than one byte.
enum class RunEnd {
    LastOffset,  // "0xBF7F4E–0xBF7F67"
    ByteCount,   // "0xBF7F4E+25": how many bytes follow the first
};

// "0x1D6F39, 0xBF7F4E–0xBF7F67": each run by its first offset, and its end where it has more
// than one byte.
std::string hexRuns(const std::vector<ByteRun>& runs, RunEnd end);

// A front end's words for what became of the image after a failed write (FileError::restore).
struct RestoreWords {
    std::string_view restored;     // every place holds its old bytes again
    std::string_view notRestored;  // then the runs that may still hold new bytes, then `last`
    RunEnd runEnd;
    std::string_view last;
};

// Nothing when no byte was written; otherwise the words for how the restore went.
std::string restoreText(const FileError& error, const RestoreWords& words);

}  // namespace tavrel
