// Whether a raw sector's checksums hold, worked out bit by bit without the program's own sector
// code: the EDC as a CRC whose residue over the covered bytes and the stored value is zero, the
// ECC as P and Q codewords whose syndromes are zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tavrel::testing {

// The CRC (polynomial 0x8001801B, reflected, from zero) of `bytes`, one bit at a time.
std::uint32_t bitwiseEdc(std::span<const std::uint8_t> bytes);

// True when every P and Q codeword of the 2352-byte sector has zero syndromes; Mode 2 sectors
// count their header as zero.
bool eccHolds(std::span<const std::uint8_t> sector, bool headerAsZero);

// True when the EDC stored at `edcAt` is that of the bytes from `from` up to it.
bool edcHolds(std::span<const std::uint8_t> sector, std::size_t from, std::size_t edcAt);

}  // namespace tavrel::testing
