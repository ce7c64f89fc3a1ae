// Decoding of the game's 2-byte name characters.
#include "game/name_codec.h"

#include <algorithm>
#include <vector>

namespace tavrel {
namespace {

constexpr int kFullWidthCapitalA = 0x8260;
constexpr int kFullWidthSmallA = 0x8281;
constexpr int kFullWidthFullStop = 0x8144;
constexpr int kLetters = 26;
constexpr std::uint8_t kBlankByte = 0x20;

char decodeUnit(int code) {
    if (code >= kFullWidthCapitalA && code < kFullWidthCapitalA + kLetters)
        return static_cast<char>('A' + code - kFullWidthCapitalA);
    if (code >= kFullWidthSmallA && code < kFullWidthSmallA + kLetters)
        return static_cast<char>('a' + code - kFullWidthSmallA);
    if (code == kFullWidthFullStop)
        return '.';
    return ' ';  // the widened blank 20 20, and every code the game's names do not use
}

}  // namespace

std::string decodeNamePiece(std::span<const std::uint8_t> piece) {
    // Only the first single-byte blank is widened: the game's own names never hold two, and a
    // later one pairs up with its neighbour like any other byte.
    std::vector<std::uint8_t> units(piece.begin(), piece.end());
    const auto blank = std::find(units.begin(), units.end(), kBlankByte);
    if (blank != units.end())
        units.insert(blank, kBlankByte);
    std::string text;
    for (std::size_t i = 0; i < units.size(); i += 2) {
        text += i + 1 < units.size() ? decodeUnit(units[i] << 8 | units[i + 1]) : ' ';
    }
    return text;
}

}  // namespace tavrel
