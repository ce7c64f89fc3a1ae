// Small text files beside the image: flag files are read a line at most and written whole.
#pragma once

#include <cstddef>
#include <string>

namespace tavrel {

// The text before the first line end (CR or LF) of the file, or its whole text when it has
// none, looking at no more than `maxBytes` bytes: a huge or binary file costs no memory.
// Throws FileError when the file cannot be opened or read.
std::string readFirstLine(const std::string& path, std::size_t maxBytes);

// Writes `content` to `path` through a temporary file in the same folder that is synced and
// then renamed over `path`: the file is either complete or untouched, never half written.
// Throws FileError, leaving nothing behind, when any step fails.
void replaceFileAtomically(const std::string& path, const std::string& content);

}  // namespace tavrel
