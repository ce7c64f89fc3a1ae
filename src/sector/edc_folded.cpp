// The EDC by folding: carry-less multiplication (PCLMULQDQ) carries 16-byte blocks of the message
// forward over the bytes after them, four blocks at a time, so a sector costs a few dozen
// multiplications and one table step instead of a table step per 16 bytes.
//
// Why the constants are what they are. The CRC takes each byte from bit 0 up, so 16 bytes loaded
// little-endian hold the message reflected: register bit m is the coefficient of x^(127−m),
// counted from the block's last bit. The low 64 bits H stand for H·x^64, the high 64 bits L for
// L. Carrying the block D bits further on multiplies it by x^D, and modulo the polynomial P
//     H·x^(64+D) + L·x^D  ≡  H·(x^(64+D) mod P) + L·(x^D mod P),
// a polynomial of degree below 96 that lines up with the block D bits later and is XORed into
// it. PCLMULQDQ multiplies as if bit i were x^i; with both operands reflected in 64 bits (bit j
// standing for x^(63−j)), bit m of its product is the coefficient of x^(126−m), which read as a
// block (x^(127−m)) is the product times x. So each constant is the remainder for one power
// less, reflected in 64 bits: x^(63+D) mod P multiplies the low half, x^(D−1) mod P the high.
//
// What is left at the end, one block and fewer than 16 bytes, has the same CRC as the message:
// the block is congruent to everything before the tail and ends where it ends. The portable
// tables finish it, which is also how messages too short to fold are done.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "sector/edc_kernels.h"

// Only what is defined from here on may use PCLMULQDQ; the standard headers above keep the
// baseline instructions, as their inline functions are shared with the rest of the program.
#pragma GCC push_options
#pragma GCC target("pclmul")

namespace tavrel {
namespace {

// P with its x^32 term, bit i standing for x^i.
constexpr std::uint64_t kPolynomial = 0x1'8001'801B;

constexpr std::uint64_t xPowerModP(unsigned power) {
    std::uint64_t remainder = 1;
    for (; power > 0; --power) {
        remainder <<= 1;
        if ((remainder >> 32) != 0)
            remainder ^= kPolynomial;
    }
    return remainder;
}

constexpr std::uint64_t reflect64(std::uint64_t value) {
    std::uint64_t reflected = 0;
    for (int bit = 0; bit < 64; ++bit) reflected |= ((value >> bit) & 1) << (63 - bit);
    return reflected;
}

struct FoldConstants {
    std::uint64_t forLowHalf;
    std::uint64_t forHighHalf;
};

constexpr FoldConstants foldConstants(unsigned distance) {
    return {reflect64(xPowerModP(63 + distance)), reflect64(xPowerModP(distance - 1))};
}

constexpr std::size_t kBlock = 16;
constexpr std::size_t kLanes = 4;
constexpr FoldConstants kOverLanes = foldConstants(8 * kBlock * kLanes);
constexpr FoldConstants kOverBlock = foldConstants(8 * kBlock);

__m128i constantsOf(FoldConstants fold) {
    return _mm_set_epi64x(static_cast<long long>(fold.forHighHalf),
                          static_cast<long long>(fold.forLowHalf));
}

__m128i load(const std::uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// `block` carried forward by the constants' distance, then XORed into `into`.
__m128i foldInto(__m128i block, __m128i constants, __m128i into) {
    const __m128i low = _mm_clmulepi64_si128(block, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(block, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), into);
}

}  // namespace

std::uint32_t edcFolded(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kLanes * kBlock)
        return edcSliced(bytes, 0);
    const std::uint8_t* at = bytes.data();
    const std::uint8_t* const end = at + bytes.size();
    __m128i lane0 = load(at), lane1 = load(at + 16), lane2 = load(at + 32), lane3 = load(at + 48);
    const __m128i overLanes = constantsOf(kOverLanes);
    for (at += kLanes * kBlock; end - at >= static_cast<std::ptrdiff_t>(kLanes * kBlock);
         at += kLanes * kBlock) {
        lane0 = foldInto(lane0, overLanes, load(at));
        lane1 = foldInto(lane1, overLanes, load(at + 16));
        lane2 = foldInto(lane2, overLanes, load(at + 32));
        lane3 = foldInto(lane3, overLanes, load(at + 48));
    }
    const __m128i overBlock = constantsOf(kOverBlock);
    __m128i folded =
        foldInto(foldInto(foldInto(lane0, overBlock, lane1), overBlock, lane2), overBlock, lane3);
    for (; end - at >= static_cast<std::ptrdiff_t>(kBlock); at += kBlock)
        folded = foldInto(folded, overBlock, load(at));

    std::uint8_t block[kBlock];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(block), folded);
    return edcSliced({at, end}, edcSliced(block, 0));
}

}  // namespace tavrel

#pragma GCC pop_options
