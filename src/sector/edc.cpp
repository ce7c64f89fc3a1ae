// The EDC on the path chosen, and its four stored bytes.
#include "sector/edc.h"

#include "sector/edc_kernels.h"

namespace tavrel {

std::uint32_t edc(std::span<const std::uint8_t> bytes, ChecksumPath path) {
    return path == ChecksumPath::Portable ? edcSliced(bytes, 0) : edcFolded(bytes);
}

std::uint32_t storedEdc(std::span<const std::uint8_t> sector, std::size_t at) {
    const auto bytes = sector.subspan(at, 4);
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

void storeEdc(std::span<std::uint8_t> sector, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        sector[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace tavrel
