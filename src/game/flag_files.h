// Small text files beside the image: flag files are read a line at most and written whole.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tavrel {

// The text before the first line end (CR or LF) of the file, or its whole text when it has
// none, looking at no more than `maxBytes` bytes: a huge or binary file costs no memory.
// Throws FileError when the file cannot be opened or read.
std::string readFirstLine(const std::string& path, std::size_t maxBytes);

struct NewFile {
    std::string name;  // a plain file name inside the folder
    std::string content;
};

// Writes each file into `folder` through a temporary file of its own; one sync puts all their
// content on the disk, and only then each takes its name, replacing any file of that name: a
// file is either complete or untouched, never half written. Throws FileError, leaving no
// temporary file behind, when any step fails.
void writeFilesAtomically(const std::string& folder, const std::vector<NewFile>& files);

}  // namespace tavrel
