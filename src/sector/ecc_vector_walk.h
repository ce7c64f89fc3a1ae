// The ECC's P and Q walks over whole vector registers of lanes, written once for any register
// width. ecc_ssse3.cpp and ecc_avx2.cpp include this file inside their own target region, each
// with its own `Ops`, so that each compiles its own copy for its instructions: everything here
// has internal linkage, and the headers it needs are included by those files before the region,
// so that no inline function of theirs is compiled for instructions other callers may lack.
//
// Ops provides the register type `Vector` and its width `kWidth` in bytes, and: load, store,
// zero, splat, add (bytewise), bitAnd, bitOr, bitXor, negative (0xFF where a byte's top bit is
// set), shiftRight4 (within 16-bit elements), loadTable (16 bytes, in each 128-bit half),
// lookup (pshufb), reversePairs (the register's byte pairs in the opposite order), isZero.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "sector/ecc.h"
#include "sector/ecc_layout.h"
#include "sector/gf256.h"

namespace tavrel {
namespace {

template <class Ops>
using VectorOf = typename Ops::Vector;

template <class Ops>
VectorOf<Ops> timesAlpha(VectorOf<Ops> x) {
    return Ops::bitXor(Ops::add(x, x), Ops::bitAnd(Ops::negative(x), Ops::splat(0x1D)));
}

// Products of each low and each high nibble with α^power: a product is the XOR of the two.
struct NibbleProducts {
    std::uint8_t low[16];
    std::uint8_t high[16];
};

constexpr NibbleProducts nibbleProducts(int power) {
    NibbleProducts products{};
    for (int n = 0; n < 16; ++n) {
        products.low[n] = timesAlphaPower(static_cast<std::uint8_t>(n), power);
        products.high[n] = timesAlphaPower(static_cast<std::uint8_t>(n << 4), power);
    }
    return products;
}

constexpr NibbleProducts kOverOnePlusAlphaProducts = nibbleProducts(kOverOnePlusAlpha);

template <class Ops>
VectorOf<Ops> timesConstant(VectorOf<Ops> x, const NibbleProducts& products) {
    const VectorOf<Ops> nibble = Ops::splat(0x0F);
    const VectorOf<Ops> low = Ops::lookup(Ops::loadTable(products.low), Ops::bitAnd(x, nibble));
    const VectorOf<Ops> high =
        Ops::lookup(Ops::loadTable(products.high), Ops::bitAnd(Ops::shiftRight4(x), nibble));
    return Ops::bitXor(low, high);
}

// A group of lanes after its data symbols: their sum and Horner value (see ecc_portable.cpp).
template <class Ops>
struct Sums {
    VectorOf<Ops> sum;
    VectorOf<Ops> horner;
};

// Row 0 as the code reads it, Mode 2's header as zero, with room on both sides for the reads of
// Q lanes that have no symbol in it (masked out). Copied, so that a read never leaves the sector.
class FirstRow {
public:
    FirstRow(const std::uint8_t* covered, EccHeader header) {
        std::memset(bytes_, 0, kMaskLead);
        std::memcpy(bytes_ + kMaskLead, covered, kEccRowBytes);
        std::memset(bytes_ + kMaskLead + kEccRowBytes, 0, kMaskTail);
        if (header == EccHeader::AsZero)
            std::memset(bytes_ + kMaskLead, 0, kSubheaderAt - kHeaderAt);
    }
    const std::uint8_t* row() const { return bytes_ + kMaskLead; }

private:
    std::uint8_t bytes_[kMaskLead + kEccRowBytes + kMaskTail];
};

// Lanes are worked on in groups of one register. The groups of a kind go step by step together:
// each group's chain of multiplications by α is independent of the others', so the processor
// overlaps them instead of waiting for each step's result. The groups cover all lanes; the last
// overlaps the one before rather than reaching past the last lane, so no lane is padding.
template <class Ops, std::size_t Lanes>
inline constexpr std::size_t kGroups = (Lanes + Ops::kWidth - 1) / Ops::kWidth;

template <class Ops>
constexpr std::size_t groupStart(std::size_t group, std::size_t lanes) {
    return std::min(group * Ops::kWidth, lanes - Ops::kWidth);
}

template <class Ops, std::size_t Lanes>
struct LaneGroups {
    Sums<Ops> group[kGroups<Ops, Lanes>];
};

// Horner's step, horner·α + symbol, with the multiplication's carry added last: from one
// Horner value to the next is three operations.
template <class Ops>
[[gnu::always_inline]] inline void feed(Sums<Ops>& lanes, VectorOf<Ops> symbols) {
    const VectorOf<Ops> carry = Ops::bitAnd(Ops::negative(lanes.horner), Ops::splat(0x1D));
    lanes.sum = Ops::bitXor(lanes.sum, symbols);
    lanes.horner = Ops::bitXor(Ops::bitXor(Ops::add(lanes.horner, lanes.horner), symbols), carry);
}

// Lanes outside `mask` neither take a symbol nor move on: a lane whose codeword has ended keeps
// its Horner value, so no correction is needed afterwards. `carries` is mask & 0x1D.
template <class Ops>
[[gnu::always_inline]] inline void feedMasked(Sums<Ops>& lanes, VectorOf<Ops> symbols,
                                              VectorOf<Ops> mask, VectorOf<Ops> carries) {
    const VectorOf<Ops> taken = Ops::bitAnd(symbols, mask);
    const VectorOf<Ops> carry = Ops::bitAnd(Ops::negative(lanes.horner), carries);
    const VectorOf<Ops> doubled = Ops::add(lanes.horner, Ops::bitAnd(lanes.horner, mask));
    lanes.sum = Ops::bitXor(lanes.sum, taken);
    lanes.horner = Ops::bitXor(Ops::bitXor(doubled, taken), carry);
}

// The P lanes over rows 0 to rows − 1.
template <class Ops>
LaneGroups<Ops, kEccRowBytes> walkP(const std::uint8_t* covered, const FirstRow& first,
                                    std::size_t rows) {
    constexpr std::size_t kCount = kGroups<Ops, kEccRowBytes>;
    LaneGroups<Ops, kEccRowBytes> p;
#pragma GCC unroll 8
    for (std::size_t g = 0; g < kCount; ++g) {
        const VectorOf<Ops> symbols = Ops::load(first.row() + groupStart<Ops>(g, kEccRowBytes));
        p.group[g] = {symbols, symbols};
    }
    for (std::size_t r = 1; r < rows; ++r) {
        const std::uint8_t* row = covered + r * kEccRowBytes;
#pragma GCC unroll 8
        for (std::size_t g = 0; g < kCount; ++g)
            feed<Ops>(p.group[g], Ops::load(row + groupStart<Ops>(g, kEccRowBytes)));
    }
    return p;
}

// Q's groups in step: at step s group g is at time t = begin + s, its first time with a symbol,
// and reads from byte 2t − 50 + lane of row t mod 26, which is 2s − width + 2 for every group, so
// that all share one mask; only their rows differ. In the first width/2 − 1 steps some lanes have
// no symbol yet, in the last as many some have none left; in the steps between all lanes take one.
template <class Ops>
inline constexpr std::size_t kQRamp = Ops::kWidth / 2 - 1;

template <class Ops, bool kMasked>
[[gnu::always_inline]] inline void stepQ(LaneGroups<Ops, kQCodewords>& q,
                                         const std::uint8_t* const* rows, std::size_t* row,
                                         std::ptrdiff_t at) {
    const VectorOf<Ops> mask = Ops::load(&kWholeRow[kMaskLead + at]);
    const VectorOf<Ops> carries = Ops::bitAnd(mask, Ops::splat(0x1D));
#pragma GCC unroll 8
    for (std::size_t g = 0; g < kGroups<Ops, kQCodewords>; ++g) {
        const VectorOf<Ops> symbols = Ops::load(rows[row[g]] + at);
        if constexpr (kMasked)
            feedMasked<Ops>(q.group[g], symbols, mask, carries);
        else
            feed<Ops>(q.group[g], symbols);
        row[g] = row[g] == kQLastPair ? 0 : row[g] + 1;
    }
}

template <class Ops>
LaneGroups<Ops, kQCodewords> walkQ(const std::uint8_t* covered, const FirstRow& first) {
    static_assert(2 * (kQDataSymbols - 1) + Ops::kWidth <= kEccRowBytes + kMaskTail);
    static_assert(Ops::kWidth - 2 <= static_cast<std::size_t>(kMaskLead));
    constexpr std::size_t kSteps = kQDataSymbols + kQRamp<Ops>;
    const std::uint8_t* rows[kEccRows];
    rows[0] = first.row();
    for (std::size_t r = 1; r < kEccRows; ++r) rows[r] = covered + r * kEccRowBytes;
    std::size_t row[kGroups<Ops, kQCodewords>];
    LaneGroups<Ops, kQCodewords> q;
    for (std::size_t g = 0; g < kGroups<Ops, kQCodewords>; ++g) {
        row[g] = kQLastPair - groupStart<Ops>(g, kQCodewords) / 2 - kQRamp<Ops>;
        q.group[g] = {Ops::zero(), Ops::zero()};
    }
    std::ptrdiff_t at = 2 - static_cast<std::ptrdiff_t>(Ops::kWidth);
    std::size_t s = 0;
    for (; s < kQRamp<Ops>; ++s, at += 2) stepQ<Ops, true>(q, rows, row, at);
    for (; s < kSteps - kQRamp<Ops>; ++s, at += 2) stepQ<Ops, false>(q, rows, row, at);
    for (; s < kSteps; ++s, at += 2) stepQ<Ops, true>(q, rows, row, at);
    return q;
}

// Where the parity of Q lanes `lane` on begins: their codewords n run downwards from 25 − lane/2,
// so their parity pairs are those of the register-long run that ends there, turned round.
template <class Ops>
constexpr std::size_t qParityFrom(std::size_t lane) {
    return kQCodewords - lane - Ops::kWidth;
}

// The two parity symbols of each lane, as gf256.h works them out.
template <class Ops>
struct Parity {
    VectorOf<Ops> first;
    VectorOf<Ops> second;
};

template <class Ops>
Parity<Ops> parityOf(const Sums<Ops>& data) {
    const VectorOf<Ops> first =
        timesConstant<Ops>(Ops::bitXor(data.sum, timesAlpha<Ops>(timesAlpha<Ops>(data.horner))),
                           kOverOnePlusAlphaProducts);
    return {first, Ops::bitXor(data.sum, first)};
}

template <class Ops>
bool eccParityIsRightVector(RawSector sector, EccHeader header) {
    const std::uint8_t* covered = sector.data() + kHeaderAt;
    const FirstRow first(covered, header);
    VectorOf<Ops> any = Ops::zero();
    const LaneGroups<Ops, kEccRowBytes> p = walkP<Ops>(covered, first, kEccRows);
    for (const Sums<Ops>& group : p.group)
        any = Ops::bitOr(any, Ops::bitOr(group.sum, group.horner));

    const LaneGroups<Ops, kQCodewords> q = walkQ<Ops>(covered, first);
    for (std::size_t g = 0; g < kGroups<Ops, kQCodewords>; ++g) {
        const std::uint8_t* parity =
            sector.data() + kEccQAt + qParityFrom<Ops>(groupStart<Ops>(g, kQCodewords));
        const VectorOf<Ops> firstParity = Ops::reversePairs(Ops::load(parity));
        const VectorOf<Ops> secondParity = Ops::reversePairs(Ops::load(parity + kQCodewords));
        // The whole codeword at 1 and at α: the data's Horner value goes on over the parity.
        const Sums<Ops>& data = q.group[g];
        const VectorOf<Ops> atOne = Ops::bitXor(Ops::bitXor(data.sum, firstParity), secondParity);
        const VectorOf<Ops> atAlpha = Ops::bitXor(
            timesAlpha<Ops>(Ops::bitXor(timesAlpha<Ops>(data.horner), firstParity)), secondParity);
        any = Ops::bitOr(any, Ops::bitOr(atOne, atAlpha));
    }
    return Ops::isZero(any);
}

template <class Ops>
void writeEccParityVector(WritableRawSector sector, EccHeader header) {
    std::uint8_t* bytes = sector.data();
    const std::uint8_t* covered = bytes + kHeaderAt;
    const FirstRow first(covered, header);
    // All of P first: Q covers P's parity rows.
    const LaneGroups<Ops, kEccRowBytes> p = walkP<Ops>(covered, first, kPDataRows);
    for (std::size_t g = 0; g < kGroups<Ops, kEccRowBytes>; ++g) {
        const std::size_t column = groupStart<Ops>(g, kEccRowBytes);
        const Parity<Ops> parity = parityOf<Ops>(p.group[g]);
        Ops::store(bytes + kEccPAt + column, parity.first);
        Ops::store(bytes + kPSecondParityAt + column, parity.second);
    }
    const LaneGroups<Ops, kQCodewords> q = walkQ<Ops>(covered, first);
    for (std::size_t g = 0; g < kGroups<Ops, kQCodewords>; ++g) {
        const std::size_t from = qParityFrom<Ops>(groupStart<Ops>(g, kQCodewords));
        const Parity<Ops> parity = parityOf<Ops>(q.group[g]);
        Ops::store(bytes + kEccQAt + from, Ops::reversePairs(parity.first));
        Ops::store(bytes + kQSecondParityAt + from, Ops::reversePairs(parity.second));
    }
}

}  // namespace
}  // namespace tavrel
