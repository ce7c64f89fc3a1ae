// A team's flag as the game stores it: a type byte, and fifteen 16-bit colour words stored low
// byte first (bits 0-4 red, 5-9 green, 10-14 blue, bit 15 a flag the game keeps with the colour).
#pragma once

#include <array>
#include <cstdint>

namespace tavrel {

struct Flag {
    std::uint8_t type = 0;
    std::array<std::uint8_t, 30> palette{};
    friend bool operator==(const Flag&, const Flag&) = default;
};

}  // namespace tavrel
