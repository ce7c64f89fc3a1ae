// The portable EDC, slicing-by-16: sixteen tables turn sixteen input bytes into one table look-up
// each, so the look-ups are independent of one another instead of a chain of one per byte.
#include "sector/edc_kernels.h"

#include <array>
#include <cstddef>

#include "sector/byte_order.h"

namespace tavrel {
namespace {

constexpr std::uint32_t kReversedPolynomial = 0xD8018001;
constexpr std::size_t kSlice = 16;

using Table = std::array<std::uint32_t, 256>;

// tables[k][b]: the CRC of byte b followed by k zero bytes.
constexpr std::array<Table, kSlice> kTables = [] {
    std::array<Table, kSlice> tables{};
    for (std::uint32_t b = 0; b < 256; ++b) {
        std::uint32_t crc = b;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1) != 0 ? kReversedPolynomial : 0);
        }
        tables[0][b] = crc;
    }
    for (std::size_t k = 1; k < kSlice; ++k) {
        for (std::size_t b = 0; b < 256; ++b) {
            const std::uint32_t prev = tables[k - 1][b];
            tables[k][b] = (prev >> 8) ^ tables[0][prev & 0xFF];
        }
    }
    return tables;
}();

// The four bytes at `p` as one word.
std::uint32_t loadWord(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(littleEndian({p, 4}, 0, 4));
}

// The look-ups of one 32-bit word that lies `bytesAfter` bytes before the end of the slice.
std::uint32_t sliceWord(std::uint32_t word, std::size_t bytesAfter) {
    return kTables[bytesAfter + 3][word & 0xFF] ^ kTables[bytesAfter + 2][(word >> 8) & 0xFF] ^
           kTables[bytesAfter + 1][(word >> 16) & 0xFF] ^ kTables[bytesAfter][word >> 24];
}

}  // namespace

std::uint32_t edcSliced(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    const std::uint8_t* p = bytes.data();
    std::size_t left = bytes.size();
    for (; left >= kSlice; left -= kSlice, p += kSlice) {
        // Only the first word depends on the CRC so far: the rest can be looked up ahead of it.
        const std::uint32_t rest = sliceWord(loadWord(p + 4), 8) ^ sliceWord(loadWord(p + 8), 4) ^
                                   sliceWord(loadWord(p + 12), 0);
        crc = rest ^ sliceWord(loadWord(p) ^ crc, 12);
    }
    for (; left > 0; --left, ++p) {
        crc = (crc >> 8) ^ kTables[0][(crc ^ *p) & 0xFF];
    }
    return crc;
}

}  // namespace tavrel
