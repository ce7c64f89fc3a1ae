// Byte text: the text form in which every byte read from or written to the image travels.
// Spaced form "00 65 " (two upper-case hex digits and one blank per byte), compact form "0065",
// and one lenient decoder back to bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

using Bytes = std::vector<std::uint8_t>;

// "00 65 " for the bytes 00 65: each byte as two upper-case hex digits followed by one blank.
std::string toByteText(std::span<const std::uint8_t> bytes);

// "0065" for the bytes 00 65: two upper-case hex digits per byte, no separator.
std::string toCompactByteText(std::span<const std::uint8_t> bytes);

// Removes leading and trailing blanks (only the space character): "00 65 " gives "00 65".
std::string trimBlanks(std::string_view text);

// Decodes any text into bytes: blanks are dropped wherever they stand, the rest is cut into
// groups of two characters (a last odd group has one), and each group is read as a hex number
// up to its first non-hex character ("7G" gives 7, "G7" gives 0, "6a" gives 0x6A).
Bytes fromByteText(std::string_view text);

}  // namespace tavrel
