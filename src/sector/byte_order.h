// Numbers stored least significant byte first: the EDC in a sector, and every number of the
// change log and of PPF patches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tavrel {

// The `size` bytes at `at` as one number. Written byte by byte, so it means the same on any
// host; unrolled, the compiler makes a load of four bytes one instruction (the EDC's tables
// take four at a time).
constexpr std::uint64_t littleEndian(std::span<const std::uint8_t> bytes, std::size_t at,
                                     std::size_t size) {
    std::uint64_t value = 0;
#pragma GCC unroll 8
    for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{bytes[at + i]} << (8 * i);
    return value;
}

// `value` into all of `bytes`, as many of its low bytes as they hold.
constexpr void putLittleEndian(std::span<std::uint8_t> bytes, std::uint64_t value) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// `value` as `size` more bytes at the end of `out`. Pushed byte by byte: GCC 12 takes a resize
// of a vector it has just seen empty for a write out of bounds (-Warray-bounds).
inline void appendLittleEndian(std::vector<std::uint8_t>& out, std::uint64_t value,
                               std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace tavrel
