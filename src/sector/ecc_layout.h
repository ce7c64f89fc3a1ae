// Where the ECC's codewords lie in a sector, and the order in which every ECC path reads them.
//
// The covered bytes (from the header on) form 26 rows of 86 bytes, that is 26 rows of 43 byte
// pairs. Each byte column is a P codeword: 24 data rows, then the parity rows at 2076 and 2162.
// Q codeword 2n + b (n 0–25, b 0–1) takes byte b of pair m (0–42) of row (n + m) mod 26, a
// diagonal, then its parity at 2248 + 2n + b and 2300 + 2n + b.
//
// All codewords of a kind are worked on side by side, each in a byte lane, so that every step
// is the same byte operation over a run of contiguous lanes and needs no branch on the data.
// P lane c is byte column c, fed row r at step r. Q is walked without gathering the diagonals:
// at time t (0–67) the lanes read one row, t mod 26, from pair t − 25 on, so lane pair k holds
// codeword n = 25 − k, which meets its symbol m at time n + m = t. Lanes whose pair lies
// outside the row read a neighbouring row and are masked out.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sector/raw_sector.h"

namespace tavrel {

inline constexpr std::size_t kEccRowBytes = 86;
inline constexpr std::size_t kEccRows = 26;
inline constexpr std::size_t kPDataRows = kEccRows - 2;
inline constexpr std::size_t kPSecondParityAt = kEccPAt + kEccRowBytes;
inline constexpr std::size_t kQDataSymbols = kEccRowBytes / 2;
inline constexpr std::size_t kQCodewords = 2 * kEccRows;
inline constexpr std::size_t kQSecondParityAt = kEccQAt + kQCodewords;
inline constexpr std::size_t kQLastPair = kEccRows - 1;
inline constexpr std::size_t kQTimes = kQDataSymbols + kQLastPair;
static_assert(kHeaderAt + kPDataRows * kEccRowBytes == kEccPAt, "P parity follows its data");
static_assert(kHeaderAt + kEccRows * kEccRowBytes == kEccQAt, "Q parity follows the rows");

// Which bytes of a row hold symbols, as masks indexed by the byte's place in the row plus
// kMaskLead: all 86, or all but the header. A read of Q lanes starts up to kMaskLead bytes
// before a row and may run up to kMaskTail bytes past its end.
inline constexpr std::ptrdiff_t kMaskLead = 2 * kQLastPair;
inline constexpr std::size_t kMaskTail = 32;
using RowMask = std::array<std::uint8_t, kMaskLead + kEccRowBytes + kMaskTail>;

constexpr RowMask rowMask(std::size_t from) {
    RowMask mask{};
    for (std::size_t i = from; i < kEccRowBytes; ++i) mask[i + kMaskLead] = 0xFF;
    return mask;
}
inline constexpr RowMask kWholeRow = rowMask(0);
inline constexpr RowMask kRowAfterHeader = rowMask(4);

}  // namespace tavrel
