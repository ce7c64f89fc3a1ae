// The two ways of computing the EDC that edc() picks from; for the sector layer's own files.
#pragma once

#include <cstdint>
#include <span>

namespace tavrel {

// Portable: carries on from `crc`, the EDC of the bytes before these.
std::uint32_t edcSliced(std::span<const std::uint8_t> bytes, std::uint32_t crc);

// Needs PCLMULQDQ.
std::uint32_t edcFolded(std::span<const std::uint8_t> bytes);

}  // namespace tavrel
