// The colour words of a flag's palette: what the 16 bits mean, how a colour chosen on a screen
// (8 bits a channel) becomes a word and how a word is shown on one, and the word's text.
//
// A word is stored low byte first; red is bits 0-4, green 5-9, blue 10-14, each 0..31, and
// bit 15 is a flag the game keeps with the colour. The console's hardware does not draw a
// pixel whose word is 0000 (black with bit 15 clear): that colour is transparent, and 8000 is
// the black that shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/flag.h"

namespace tavrel {

inline constexpr int kColourCount = 15;
inline constexpr std::uint16_t kFlagBit = 0x8000;
inline constexpr std::uint16_t kTransparentWord = 0x0000;
inline constexpr std::uint16_t kOpaqueBlackWord = 0x8000;

// A colour as a word holds it: each channel 0..31.
struct Rgb5 {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb5&, const Rgb5&) = default;
};

// A colour as a screen shows it: each channel 0..255.
struct Rgb8 {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

// 8 bits to 5, rounded to the nearest of the 32 levels.
constexpr std::uint8_t snapChannel(std::uint8_t channel) {
    return static_cast<std::uint8_t>((channel * 31 + 127) / 255);
}

// 5 bits to 8, rounded to the nearest: 31 shows as 255, and every level snaps back to itself.
constexpr std::uint8_t displayChannel(std::uint8_t level) {
    return static_cast<std::uint8_t>((level * 255 + 15) / 31);
}

constexpr Rgb5 snapped(Rgb8 colour) {
    return {snapChannel(colour.red), snapChannel(colour.green), snapChannel(colour.blue)};
}

constexpr Rgb8 displayed(Rgb5 colour) {
    return {displayChannel(colour.red), displayChannel(colour.green), displayChannel(colour.blue)};
}

constexpr Rgb5 colourOf(std::uint16_t word) {
    return {static_cast<std::uint8_t>(word & 0x1F), static_cast<std::uint8_t>(word >> 5 & 0x1F),
            static_cast<std::uint8_t>(word >> 10 & 0x1F)};
}

constexpr bool flagBitOf(std::uint16_t word) {
    return (word & kFlagBit) != 0;
}

constexpr std::uint16_t wordOf(Rgb5 colour, bool flagBit) {
    return static_cast<std::uint16_t>((colour.red & 0x1F) | (colour.green & 0x1F) << 5 |
                                      (colour.blue & 0x1F) << 10 | (flagBit ? kFlagBit : 0));
}

// `word` with its colour replaced by `chosen`, snapped; its bit 15 stays.
constexpr std::uint16_t recoloured(std::uint16_t word, Rgb8 chosen) {
    return wordOf(snapped(chosen), flagBitOf(word));
}

constexpr bool isTransparent(std::uint16_t word) {
    return word == kTransparentWord;
}

// Colour k (1..15) of the flag's palette, and the flag with it replaced. Throw
// std::out_of_range for any other k.
std::uint16_t colourWord(const Flag& flag, int k);
void setColourWord(Flag& flag, int k, std::uint16_t word);

// "F7BD": the word's value as four upper-case hex digits, bit 15 first (not the stored order
// of its bytes, BD F7).
std::string wordText(std::uint16_t word);
// Four hex digits in either case, as wordText writes them; none for anything else.
std::optional<std::uint16_t> parseWordText(std::string_view text);
// A flag's type byte as two upper-case hex digits ("0B"), and back from two in either case.
std::string typeText(std::uint8_t type);
std::optional<std::uint8_t> parseTypeText(std::string_view text);
// "#RRGGBB", six hex digits in either case after the '#'; none for anything else.
std::optional<Rgb8> parseRgbText(std::string_view text);

}  // namespace tavrel
