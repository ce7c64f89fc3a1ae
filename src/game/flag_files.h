// .flg files: one line holding a flag record and CR LF, named after the team's stored name.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/flag_record.h"

namespace tavrel {

// The flag of a .flg file: its first line, read without trusting the file (a few KiB at most;
// a pipe or device is refused without waiting). Throws FileError when it cannot be read.
ParsedRecord readFlagFile(const std::string& path);

// "Flag_<name>.flg", the file a team's flag is exported to, named after the team's stored name;
// none when that cannot be one plain file name in a folder (a separator, a control character,
// or longer than a file name may be).
std::optional<std::string> flagFileName(std::string_view teamName);

struct FlagFile {
    std::string name;  // as flagFileName gives it
    Flag flag;
};

// Writes the files into `folder`, each complete or not at all, with one sync for all of them.
void writeFlagFiles(const std::string& folder, const std::vector<FlagFile>& files);

}  // namespace tavrel
