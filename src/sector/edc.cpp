// The EDC on the path chosen, and its four stored bytes.
#include "sector/edc.h"

#include "sector/byte_order.h"
#include "sector/edc_kernels.h"

namespace tavrel {

std::uint32_t edc(std::span<const std::uint8_t> bytes, ChecksumPath path) {
    return path == ChecksumPath::Portable ? edcSliced(bytes, 0) : edcFolded(bytes);
}

std::uint32_t storedEdc(std::span<const std::uint8_t> sector, std::size_t at) {
    return static_cast<std::uint32_t>(littleEndian(sector, at, 4));
}

void storeEdc(std::span<std::uint8_t> sector, std::size_t at, std::uint32_t value) {
    putLittleEndian(sector.subspan(at, 4), value);
}

}  // namespace tavrel
