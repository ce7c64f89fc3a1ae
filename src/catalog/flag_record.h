// The flag record: the text form of one flag, "TT" + fifteen colour words as trimmed byte text,
// e.g. "00BD F7 18 E3 ...". 91 characters; a catalog record may carry one trailing blank more.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavrel {

inline constexpr std::size_t kTypeCodeLength = 2;
inline constexpr std::size_t kColourFieldLength = 89;  // 30 pairs and 29 blanks
inline constexpr std::size_t kFlagRecordLength = kTypeCodeLength + kColourFieldLength;
inline constexpr std::size_t kPaletteSize = 30;  // fifteen 16-bit colour words

// Characters 1..2 and 3..91 of a record (shorter when the text is shorter).
std::string_view typeCodeOf(std::string_view record);
std::string_view colourFieldOf(std::string_view record);

// True when `text` begins with a well-formed record: two hex digits, then thirty hex pairs
// separated by single blanks, upper or lower case. What follows character 91 is not looked at.
bool startsWithFlagRecord(std::string_view text);

}  // namespace tavrel
