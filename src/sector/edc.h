// EDC of raw sectors: the CRC-32 (polynomial 0x8001801B, bit-reversed, starting at zero, no
// final inversion) that guards a sector's header and data; sectors store it little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "sector/checksum_path.h"

namespace tavrel {

std::uint32_t edc(std::span<const std::uint8_t> bytes, ChecksumPath path = activeChecksumPath());

// The four stored bytes at `at`, read little-endian, and the inverse.
std::uint32_t storedEdc(std::span<const std::uint8_t> sector, std::size_t at);
void storeEdc(std::span<std::uint8_t> sector, std::size_t at, std::uint32_t value);

}  // namespace tavrel
