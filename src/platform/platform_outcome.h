// How platform_posix.cpp and platform_win32.cpp turn the system's error codes into Outcomes:
// each from a table of every outcome with the codes that mean it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>

#include "platform/platform.h"

namespace tavrel::sys {

template <typename Code>
struct OutcomeCodes {
    Outcome outcome;
    std::initializer_list<Code> codes;
};

// The outcome whose codes hold `code`; Failed for a code the table does not name.
template <typename Code, std::size_t N>
Outcome outcomeOf(const OutcomeCodes<Code> (&table)[N], Code code) {
    for (const auto& [outcome, codes] : table) {
        if (std::ranges::find(codes, code) != codes.end())
            return outcome;
    }
    return Outcome::Failed;
}

}  // namespace tavrel::sys
