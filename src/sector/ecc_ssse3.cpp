// The ECC with SSSE3: 16 codewords a register, for processors without AVX2.
#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "sector/ecc.h"
#include "sector/ecc_kernels.h"
#include "sector/ecc_layout.h"
#include "sector/gf256.h"

// Only what is defined from here on may use SSSE3 (see ecc_vector_walk.h).
#pragma GCC push_options
#pragma GCC target("ssse3")

#include "sector/ecc_vector_walk.h"

namespace tavrel {
namespace {

struct Ssse3 {
    using Vector = __m128i;
    static constexpr std::size_t kWidth = 16;

    static Vector load(const std::uint8_t* at) {
        return _mm_loadu_si128(reinterpret_cast<const Vector*>(at));
    }
    static void store(std::uint8_t* at, Vector v) {
        _mm_storeu_si128(reinterpret_cast<Vector*>(at), v);
    }
    static Vector zero() { return _mm_setzero_si128(); }
    static Vector splat(std::uint8_t byte) { return _mm_set1_epi8(static_cast<char>(byte)); }
    static Vector add(Vector a, Vector b) { return _mm_add_epi8(a, b); }
    static Vector bitAnd(Vector a, Vector b) { return _mm_and_si128(a, b); }
    static Vector bitOr(Vector a, Vector b) { return _mm_or_si128(a, b); }
    static Vector bitXor(Vector a, Vector b) { return _mm_xor_si128(a, b); }
    static Vector negative(Vector a) { return _mm_cmpgt_epi8(zero(), a); }
    static Vector shiftRight4(Vector a) { return _mm_srli_epi16(a, 4); }
    static Vector loadTable(const std::uint8_t* table) { return load(table); }
    static Vector lookup(Vector table, Vector index) { return _mm_shuffle_epi8(table, index); }
    static Vector reversePairs(Vector a) {
        return _mm_shuffle_epi8(
            a, _mm_setr_epi8(14, 15, 12, 13, 10, 11, 8, 9, 6, 7, 4, 5, 2, 3, 0, 1));
    }
    // PTEST is SSE4.1's.
    static bool isZero(Vector a) { return _mm_movemask_epi8(_mm_cmpeq_epi8(a, zero())) == 0xFFFF; }
};

}  // namespace

void writeEccParitySsse3(WritableRawSector sector, EccHeader header) {
    writeEccParityVector<Ssse3>(sector, header);
}

bool eccParityIsRightSsse3(RawSector sector, EccHeader header) {
    return eccParityIsRightVector<Ssse3>(sector, header);
}

}  // namespace tavrel

#pragma GCC pop_options
