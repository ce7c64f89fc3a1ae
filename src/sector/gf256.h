// Arithmetic in GF(2⁸) modulo x⁸+x⁴+x³+x²+1, the field of the ECC's Reed–Solomon codes: α is x.
#pragma once

#include <array>
#include <cstdint>

namespace tavrel {

// The sign test becomes a byte mask in vector code (a compare, not a branch).
constexpr std::uint8_t timesAlpha(std::uint8_t x) {
    return static_cast<std::uint8_t>((x + x) ^ (static_cast<std::int8_t>(x) < 0 ? 0x1D : 0));
}

struct PowerTables {
    std::array<std::uint8_t, 2 * 255> power{};  // α^e, twice over: a sum of two logs needs no mod
    std::array<int, 256> log{};                 // e for α^e; unused for 0
};

inline constexpr PowerTables kPowers = [] {
    PowerTables tables;
    std::uint8_t x = 1;
    for (int e = 0; e < 255; ++e, x = timesAlpha(x)) {
        tables.power[e] = tables.power[e + 255] = x;
        tables.log[x] = e;
    }
    return tables;
}();

// x·α^e for e in 0–255.
constexpr std::uint8_t timesAlphaPower(std::uint8_t x, int e) {
    return x == 0 ? 0 : kPowers.power[kPowers.log[x] + e];
}

// The two parity bytes p, q that end a codeword whose data has sum s and Horner value h solve
// s + p + q = 0 and α²h + αp + q = 0: p = (s + α²h) / (1 + α), q = s + p. 1 + α is α^25.
inline constexpr int kOverOnePlusAlpha = 255 - 25;
static_assert(timesAlphaPower(1, 25) == 3, "1 + α is α^25");

}  // namespace tavrel
