// The ECC with AVX2: 32 codewords a register.
#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "sector/ecc.h"
#include "sector/ecc_kernels.h"
#include "sector/ecc_layout.h"
#include "sector/gf256.h"

// Only what is defined from here on may use AVX2 (see ecc_vector_walk.h).
#pragma GCC push_options
#pragma GCC target("avx2")

#include "sector/ecc_vector_walk.h"

namespace tavrel {
namespace {

struct Avx2 {
    using Vector = __m256i;
    static constexpr std::size_t kWidth = 32;

    static Vector load(const std::uint8_t* at) {
        return _mm256_loadu_si256(reinterpret_cast<const Vector*>(at));
    }
    static void store(std::uint8_t* at, Vector v) {
        _mm256_storeu_si256(reinterpret_cast<Vector*>(at), v);
    }
    static Vector zero() { return _mm256_setzero_si256(); }
    static Vector splat(std::uint8_t byte) { return _mm256_set1_epi8(static_cast<char>(byte)); }
    static Vector add(Vector a, Vector b) { return _mm256_add_epi8(a, b); }
    static Vector bitAnd(Vector a, Vector b) { return _mm256_and_si256(a, b); }
    static Vector bitOr(Vector a, Vector b) { return _mm256_or_si256(a, b); }
    static Vector bitXor(Vector a, Vector b) { return _mm256_xor_si256(a, b); }
    static Vector negative(Vector a) { return _mm256_cmpgt_epi8(zero(), a); }
    static Vector shiftRight4(Vector a) { return _mm256_srli_epi16(a, 4); }
    static Vector loadTable(const std::uint8_t* table) {
        return _mm256_broadcastsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(table)));
    }
    static Vector lookup(Vector table, Vector index) { return _mm256_shuffle_epi8(table, index); }
    // Within each half, then the halves swapped: a shuffle does not cross them.
    static Vector reversePairs(Vector a) {
        const Vector pairs = _mm256_setr_epi8(14, 15, 12, 13, 10, 11, 8, 9, 6, 7, 4, 5, 2, 3, 0, 1,
                                              14, 15, 12, 13, 10, 11, 8, 9, 6, 7, 4, 5, 2, 3, 0, 1);
        return _mm256_permute4x64_epi64(_mm256_shuffle_epi8(a, pairs), 0x4E);
    }
    static bool isZero(Vector a) { return _mm256_testz_si256(a, a) != 0; }
};

}  // namespace

void writeEccParityAvx2(WritableRawSector sector, EccHeader header) {
    writeEccParityVector<Avx2>(sector, header);
}

bool eccParityIsRightAvx2(RawSector sector, EccHeader header) {
    return eccParityIsRightVector<Avx2>(sector, header);
}

}  // namespace tavrel

#pragma GCC pop_options
