// The fields of a flag record and the check of a record read from a file.
#include "catalog/flag_record.h"

#include <cctype>

namespace tavrel {
namespace {

bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::string_view typeCodeOf(std::string_view record) {
    return record.substr(0, kTypeCodeLength);
}

std::string_view colourFieldOf(std::string_view record) {
    if (record.size() <= kTypeCodeLength)
        return {};
    return record.substr(kTypeCodeLength, kColourFieldLength);
}

bool startsWithFlagRecord(std::string_view text) {
    if (text.size() < kFlagRecordLength)
        return false;
    if (!isHex(text[0]) || !isHex(text[1]))
        return false;
    const std::string_view field = colourFieldOf(text);
    for (std::size_t i = 0; i < field.size(); ++i) {
        // Pairs start every three characters; the character after each pair is a blank.
        const bool blankPlace = i % 3 == 2;
        if (blankPlace ? field[i] != ' ' : !isHex(field[i]))
            return false;
    }
    return true;
}

}  // namespace tavrel
