// Small files beside the image, read and written whole: flag files, patches, a change log
// rewritten. A file is read without trusting it (a bounded number of bytes, a pipe refused
// without waiting) and written so that it is either complete or untouched.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "image/file_error.h"

namespace tavrel {

// The file's first bytes, no more than `maxBytes` of them: a huge file costs no memory. Throws
// FileError (with `role`) when the file cannot be opened or read, or is not a plain file.
Bytes readFileStart(const std::string& path, std::size_t maxBytes, FileRole role);

struct NewFile {
    std::string name;  // a plain file name inside the folder
    Bytes content;
};

// Writes each file into `folder` through a temporary file of its own; the content of all of
// them reaches the disk first (in one sync where the system offers one), and only then each
// takes its name, replacing any file of that name: a file is either complete or untouched,
// never half written. Throws FileError, leaving no temporary file behind, when any step fails.
// Temporary files that a writer killed on the way left in the folder are removed first.
void writeFilesWhole(const std::string& folder, const std::vector<NewFile>& files, FileRole role);

}  // namespace tavrel
