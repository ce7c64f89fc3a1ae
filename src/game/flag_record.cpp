// Reading and writing flag records.
#include "game/flag_record.h"

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

void appendByte(std::string& text, std::uint8_t byte) {
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 0x0F];
}

}  // namespace

ParsedRecord parseFlagRecord(std::string_view text) {
    using Expected = RecordError::Expected;
    if (text.size() < kFlagRecordLength)
        return {std::nullopt, {Expected::MoreText, text.size()}};
    // The type's two digits, then each palette byte's two digits and a blank before every byte
    // but the first.
    Flag flag;
    std::size_t at = 0;
    const auto readByte = [&](std::uint8_t& byte) {
        for (int digit = 0; digit < 2; ++digit, ++at) {
            const int value = hexValue(text[at]);
            if (value < 0)
                return false;
            byte = static_cast<std::uint8_t>(byte << 4 | value);
        }
        return true;
    };
    if (!readByte(flag.type))
        return {std::nullopt, {Expected::HexDigit, at}};
    for (std::size_t i = 0; i < flag.palette.size(); ++i) {
        if (i > 0 && text[at++] != ' ')
            return {std::nullopt, {Expected::Blank, at - 1}};
        if (!readByte(flag.palette[i]))
            return {std::nullopt, {Expected::HexDigit, at}};
    }
    return {flag, {}};
}

std::string formatFlagRecord(const Flag& flag) {
    std::string text;
    text.reserve(kFlagRecordLength);
    appendByte(text, flag.type);
    for (std::size_t i = 0; i < flag.palette.size(); ++i) {
        if (i > 0)
            text += ' ';
        appendByte(text, flag.palette[i]);
    }
    return text;
}

}  // namespace tavrel
