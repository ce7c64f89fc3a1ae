// Decoding of the game's 2-byte name characters.
#include "layout/name_codec.h"

#include "image/byte_text.h"

namespace tavrel {
namespace {

constexpr int kFullWidthCapitalA = 0x8260;
constexpr int kFullWidthSmallA = 0x8281;
constexpr int kFullWidthFullStop = 0x8144;
constexpr int kWidenedBlank = 0x2020;
constexpr int kLetters = 26;

// The code of a well-formed unit "HH HH", or -1.
int unitCode(std::string_view unit) {
    if (unit.size() != 5 || unit[2] != ' ')
        return -1;
    const std::string text(unit);
    if (text != toByteText(fromByteText(text)).substr(0, 5))
        return -1;  // upper-case hex only
    const Bytes bytes = fromByteText(text);
    return bytes[0] << 8 | bytes[1];
}

}  // namespace

std::string letterCodeFor(std::string_view characterCode) {
    const int code = unitCode(characterCode);
    if (code == kWidenedBlank)
        return "32";
    if (code >= kFullWidthCapitalA && code < kFullWidthCapitalA + kLetters) {
        return std::to_string('A' + code - kFullWidthCapitalA);
    }
    if (code >= kFullWidthSmallA && code < kFullWidthSmallA + kLetters) {
        return std::to_string('a' + code - kFullWidthSmallA);
    }
    if (code == kFullWidthFullStop)
        return "46";
    return "32";
}

std::string widenFirstBlank(std::string_view byteText) {
    const auto found = byteText.find("20");
    if (found == std::string_view::npos)
        return std::string(byteText);
    // Pairs start every three characters and each is followed by a blank, so a match is always
    // a whole pair. Keep the pairs before it without their last blank, then " 20 20 ".
    const std::size_t p = found + 1;  // 1-based
    std::string widened(byteText.substr(0, p >= 2 ? p - 2 : 0));
    widened += " 20 20 ";
    if (p + 2 <= byteText.size())
        widened += byteText.substr(p + 2);
    return widened;
}

std::vector<std::string> characterUnits(std::string_view trimmedByteText) {
    std::vector<std::string> units;
    for (std::size_t i = 0; i < trimmedByteText.size(); i += 6) {
        units.emplace_back(trimmedByteText.substr(i, 5));
    }
    return units;
}

}  // namespace tavrel
