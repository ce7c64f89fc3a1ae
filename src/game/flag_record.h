// The flag record, the one-line text form of a flag in the catalog and in .flg files: the type
// as two hex digits, then the 30 palette bytes as hex pairs separated by single blanks
// ("00BD F7 18 E3 ..."), 91 characters.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "game/flag.h"

namespace tavrel {

inline constexpr std::size_t kFlagRecordLength = 91;

struct RecordError {
    enum class Expected { MoreText, HexDigit, Blank };
    Expected expected = Expected::MoreText;
    std::size_t column = 0;  // 0-based: where the text stops or holds the wrong character
};

struct ParsedRecord {
    std::optional<Flag> flag;
    RecordError error;  // why there is no flag
};

// Reads a record at the start of `text`: two hex digits, then thirty hex pairs separated by
// single blanks, upper or lower case. Anything after the 91st character is not looked at.
ParsedRecord parseFlagRecord(std::string_view text);

// The flag of a .flg file: its first line, read without trusting the file (a few KiB at most;
// a pipe or device is refused without blocking). Throws FileError when it cannot be read.
ParsedRecord readFlagFile(const std::string& path);

// The record of `flag`: upper-case digits, 91 characters, no trailing blank.
std::string formatFlagRecord(const Flag& flag);

// "Flag_<name>.flg", the file a team's flag is exported to, named after the team's stored name;
// none when that cannot be one plain file name in a folder (a separator, a control character,
// or longer than a file name may be).
std::optional<std::string> flagFileName(std::string_view teamName);

}  // namespace tavrel
