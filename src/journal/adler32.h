// Adler-32 (RFC 1950), the checksum xdelta3 writes for each target window of a VCDIFF patch.
#pragma once

#include <cstdint>
#include <span>

namespace tavrel {

std::uint32_t adler32(std::span<const std::uint8_t> bytes);

}  // namespace tavrel
