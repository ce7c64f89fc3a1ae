#include "sector_oracle.h"

#include <array>

namespace tavrel::testing {
namespace {

// x·α^k in GF(2⁸) modulo x⁸+x⁴+x³+x²+1, bit by bit.
std::uint8_t alphaPower(std::size_t k, std::uint8_t x = 1) {
    for (; k > 0; --k) x = static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80) != 0 ? 0x1D : 0));
    return x;
}

}  // namespace

std::uint32_t bitwiseEdc(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xD8018001u : 0);
    }
    return crc;
}

bool edcHolds(std::span<const std::uint8_t> sector, std::size_t from, std::size_t edcAt) {
    return bitwiseEdc(sector.subspan(from, edcAt + 4 - from)) == 0;
}

bool eccHolds(std::span<const std::uint8_t> sector, bool headerAsZero) {
    std::array<std::uint8_t, 2340> covered{};  // from the header on
    for (std::size_t i = 0; i < covered.size(); ++i)
        covered[i] = headerAsZero && i < 4 ? 0 : sector[12 + i];
    // Bytes 2n and 2n + 1 of the covered part are word n; 86 P codewords, then 52 Q ones.
    for (std::size_t c = 0; c < 86 + 52; ++c) {
        const bool isP = c < 86;
        const std::size_t k = isP ? c : c - 86, length = isP ? 26 : 45;
        unsigned s0 = 0, s1 = 0;  // the codeword polynomial at 1 and at α
        for (std::size_t i = 0; i < length; ++i) {
            const std::size_t word = isP      ? 43 * i + k / 2
                                     : i < 43 ? (44 * i + 43 * (k / 2)) % 1118
                                              : 1118 + 26 * (i - 43) + k / 2;
            const std::uint8_t v = covered[2 * word + k % 2];
            s0 ^= v;
            for (unsigned bit = 0; bit < 8; ++bit)
                s1 ^= (v >> bit & 1) * alphaPower(length - 1 - i + bit);
        }
        if ((s0 | s1) != 0)
            return false;
    }
    return true;
}

}  // namespace tavrel::testing
