// The values the window's operations share. Procedures hand each other working values through
// these fields (the pending record of a flag write, the character code of name decoding, ...).
#pragma once

#include <cstdint>
#include <string>

namespace tavrel {

struct EditorState {
    // The design shown: id 101..235 and position 1..135, always moved together.
    std::int16_t catalogId = 0;
    std::int16_t catalogPosition = 0;

    // Working values of a flag write (Save and Import).
    std::string pendingRecord;
    std::string pendingTypeCode;
    std::string pendingColourField;
    std::string storedTypeCode;

    // Left by the current-flag reader for Export.
    std::string currentFlagRecord;

    // 1-based image positions.
    std::int32_t typePosition = 0;
    std::int32_t palettePosition = 0;  // 0 for a team without a palette
    std::int32_t namePosition = 0;

    // Argument and result of name character decoding.
    std::string characterCode;
    std::string letterCode;

    // "00 65", "28 61" or empty: the pattern of the net option selected last.
    std::string netPattern;
};

}  // namespace tavrel
