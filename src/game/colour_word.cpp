// A palette's colour words read, replaced and written as text.
#include "game/colour_word.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>

namespace tavrel {
namespace {

std::size_t byteOf(int k) {
    if (k < 1 || k > kColourCount)
        throw std::out_of_range("colour " + std::to_string(k) + " outside 1..15");
    return static_cast<std::size_t>(2 * (k - 1));
}

// `text` read whole as exactly `digits` hex digits.
std::optional<std::uint32_t> hexNumber(std::string_view text, std::size_t digits) {
    std::uint32_t value = 0;
    if (text.size() != digits)
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// `value` as `digits` upper-case hex digits.
std::string hexText(unsigned value, int digits) {
    char text[12];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace

std::uint16_t colourWord(const Flag& flag, int k) {
    const std::size_t at = byteOf(k);
    return static_cast<std::uint16_t>(flag.palette[at] | flag.palette[at + 1] << 8);
}

void setColourWord(Flag& flag, int k, std::uint16_t word) {
    const std::size_t at = byteOf(k);
    flag.palette[at] = static_cast<std::uint8_t>(word);
    flag.palette[at + 1] = static_cast<std::uint8_t>(word >> 8);
}

std::string wordText(std::uint16_t word) {
    return hexText(word, 4);
}

std::optional<std::uint16_t> parseWordText(std::string_view text) {
    const auto value = hexNumber(text, 4);
    return value ? std::optional(static_cast<std::uint16_t>(*value)) : std::nullopt;
}

std::string typeText(std::uint8_t type) {
    return hexText(type, 2);
}

std::optional<std::uint8_t> parseTypeText(std::string_view text) {
    const auto value = hexNumber(text, 2);
    return value ? std::optional(static_cast<std::uint8_t>(*value)) : std::nullopt;
}

std::optional<Rgb8> parseRgbText(std::string_view text) {
    if (text.empty() || text.front() != '#')
        return std::nullopt;
    const auto value = hexNumber(text.substr(1), 6);
    if (!value)
        return std::nullopt;
    return Rgb8{static_cast<std::uint8_t>(*value >> 16), static_cast<std::uint8_t>(*value >> 8),
                static_cast<std::uint8_t>(*value)};
}

}  // namespace tavrel
