// Bytes to byte text and back.
#include "image/byte_text.h"

namespace tavrel {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void appendPair(std::string& out, std::uint8_t byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

// Reads a group as a hex number, stopping at its first non-hex character.
std::uint8_t readGroup(std::string_view group) {
    unsigned value = 0;
    for (char c : group) {
        const int digit = hexValue(c);
        if (digit < 0)
            break;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace

std::string toByteText(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        appendPair(out, b);
        out += ' ';
    }
    return out;
}

std::string toCompactByteText(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) appendPair(out, b);
    return out;
}

std::string trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

Bytes fromByteText(std::string_view text) {
    std::string digits;
    digits.reserve(text.size());
    for (char c : text) {
        if (c != ' ')
            digits += c;
    }
    Bytes out;
    out.reserve((digits.size() + 1) / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        out.push_back(readGroup(std::string_view(digits).substr(i, 2)));
    }
    return out;
}

}  // namespace tavrel
