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

// The record of `flag`: upper-case digits, 91 characters, no trailing blank.
std::string formatFlagRecord(const Flag& flag);

}  // namespace tavrel
