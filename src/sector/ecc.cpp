// The covered bytes (from the header on) form 26 rows of 86 bytes, that is 26 rows of 43 byte
// pairs. Each byte column is a P codeword: 24 data rows, then the parity rows at 2076 and 2162.
// Q codeword 2n + b (n 0–25, b 0–1) takes byte b of pair m (0–42) of row (n + m) mod 26, a
// diagonal, then its parity at 2248 + 2n + b and 2300 + 2n + b.
//
// All codewords of a kind are worked on side by side, each in a byte lane, so that every step
// is the same byte operation over a run of contiguous lanes, which the compiler vectorises and
// which needs no branch on the data.
#include "sector/ecc.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tavrel {
namespace {

using Byte = std::uint8_t;

constexpr std::size_t kRowBytes = 86;
constexpr std::size_t kRows = 26;
constexpr std::size_t kPDataRows = 24;
constexpr std::size_t kQDataSymbols = 43;
constexpr std::size_t kQCodewords = 52;
constexpr std::size_t kQSecondParityAt = kEccQAt + kQCodewords;
// Lane counts rounded up to whole 16-byte vectors; the extra lanes are never looked at.
constexpr std::size_t kPLanes = 96;
constexpr std::size_t kQLanes = 64;

// Multiplication by α (that is, x) modulo x⁸+x⁴+x³+x²+1. The sign test becomes a byte mask in
// vector code (a compare, not a branch).
constexpr Byte timesAlpha(Byte x) {
    return static_cast<Byte>((x + x) ^ (static_cast<std::int8_t>(x) < 0 ? 0x1D : 0));
}

struct PowerTables {
    std::array<Byte, 2 * 255> power{};  // α^e, twice over so that a sum of two logs needs no mod
    std::array<int, 256> log{};         // e for α^e; unused for 0
};

constexpr PowerTables kPowers = [] {
    PowerTables tables;
    Byte x = 1;
    for (int e = 0; e < 255; ++e, x = timesAlpha(x)) {
        tables.power[e] = tables.power[e + 255] = x;
        tables.log[x] = e;
    }
    return tables;
}();

// x·α^e for e in 0–255; only the few per-codeword steps use it.
constexpr Byte timesAlphaPower(Byte x, int e) {
    return x == 0 ? 0 : kPowers.power[kPowers.log[x] + e];
}

// N codewords side by side. After symbols v0..vk a lane holds sum = Σ vi and
// horner = Σ vi·α^(k−i): the codeword polynomial at 1 and at α.
template <std::size_t N>
struct Lanes {
    std::array<Byte, N> sum{};
    std::array<Byte, N> horner{};
};

// Lanes are worked on in groups of one 16-byte vector, each group over all its steps before
// the next, so that its sums stay in registers.
constexpr std::size_t kGroup = 16;
using LaneGroup = Lanes<kGroup>;

// Which bytes of a row hold symbols, as masks indexed by the byte's place in the row plus
// kMaskLead: all 86, or all but the header. Reads of a group start from up to kMaskLead bytes
// before a row to the row's last byte.
constexpr std::ptrdiff_t kMaskLead = 50;
using RowMask = std::array<Byte, kMaskLead + kRowBytes + kGroup>;

constexpr RowMask rowMask(std::size_t from) {
    RowMask mask{};
    for (std::size_t i = from; i < kRowBytes; ++i) mask[i + kMaskLead] = 0xFF;
    return mask;
}
constexpr RowMask kWholeRow = rowMask(0);
constexpr RowMask kRowAfterHeader = rowMask(4);

// Feeds every lane of the group its symbol from[i] & mask[i].
inline void feed(LaneGroup& lanes, const Byte* from, const Byte* mask) {
    for (std::size_t i = 0; i < kGroup; ++i) {
        const Byte symbol = from[i] & mask[i];
        lanes.sum[i] ^= symbol;
        lanes.horner[i] = timesAlpha(lanes.horner[i]) ^ symbol;
    }
}

template <std::size_t N>
void store(Lanes<N>& all, std::size_t at, const LaneGroup& group) {
    std::copy(group.sum.begin(), group.sum.end(), all.sum.begin() + at);
    std::copy(group.horner.begin(), group.horner.end(), all.horner.begin() + at);
}

// The two parity bytes p, q that end a codeword whose data has sum s and Horner value h solve
// s + p + q = 0 and α²h + αp + q = 0: p = (s + α²h) / (1 + α), q = s + p. 1 + α is α^25.
struct Parity {
    Byte p;
    Byte q;
};

constexpr Parity parityFor(Byte sum, Byte horner) {
    const Byte p = timesAlphaPower(sum ^ timesAlpha(timesAlpha(horner)), 255 - 25);
    return {p, static_cast<Byte>(sum ^ p)};
}
static_assert(timesAlphaPower(1, 25) == 3, "1 + α is α^25");

// P: lane c is byte column c; row r is fed at step r. The padding lanes read on into the next
// row, which stays inside the sector even for the last row.
Lanes<kPLanes> walkP(const Byte* covered, std::size_t rows, EccHeader header) {
    const RowMask& firstRow = header == EccHeader::AsZero ? kRowAfterHeader : kWholeRow;
    Lanes<kPLanes> all;
    for (std::size_t g = 0; g < kPLanes; g += kGroup) {
        LaneGroup lanes;
        feed(lanes, covered + g, &firstRow[kMaskLead + g]);
        for (std::size_t r = 1; r < rows; ++r) {
            feed(lanes, covered + r * kRowBytes + g, &kWholeRow[kMaskLead + g]);
        }
        store(all, g, lanes);
    }
    return all;
}

// Q, without gathering the diagonals: at time t (0–67) the lanes read one row, t mod 26, from
// pair t − 25 on, so lane pair k holds codeword n = 25 − k, which meets its symbol m at time
// n + m = t. Lanes whose pair lies outside the row read a neighbouring row and are masked out.
// A group runs from the first time any of its lanes has a symbol to the last; a lane that ends
// earlier is multiplied by α once per step after its end, which qLaneHorner() undoes.
constexpr std::size_t kLastPair = kRows - 1;
constexpr std::size_t kQTimes = kQDataSymbols + kLastPair;

Lanes<kQLanes> walkQ(const Byte* covered, EccHeader header) {
    const RowMask& firstRow = header == EccHeader::AsZero ? kRowAfterHeader : kWholeRow;
    Lanes<kQLanes> all;
    for (std::size_t g = 0; g < kQLanes; g += kGroup) {
        const std::size_t lastPair = std::min(g / 2 + kGroup / 2 - 1, kLastPair);
        const std::size_t begin = kLastPair - lastPair;
        const std::size_t end = kQTimes - g / 2;
        // The group's place in the row: 2t − 50 + g at time t.
        std::ptrdiff_t at = static_cast<std::ptrdiff_t>(2 * begin + g) - kMaskLead;
        std::size_t row = begin;
        LaneGroup lanes;
        for (std::size_t t = begin; t < end; ++t, at += 2) {
            const RowMask& mask = row == 0 ? firstRow : kWholeRow;
            feed(lanes, covered + row * kRowBytes + at,
                 &mask[static_cast<std::size_t>(at + kMaskLead)]);
            row = row == kLastPair ? 0 : row + 1;
        }
        store(all, g, lanes);
    }
    return all;
}

// Codeword 2n + b sits in lane 2k + b with k = 25 − n.
constexpr std::size_t qLane(std::size_t codeword) {
    return 2 * (kLastPair - codeword / 2) + codeword % 2;
}

// The Horner value of a Q lane, less the steps it ran on after its codeword's end.
Byte qLaneHorner(const Lanes<kQLanes>& lanes, std::size_t lane) {
    return timesAlphaPower(lanes.horner[lane], 255 - static_cast<int>(lane % kGroup / 2));
}

}  // namespace

void writeEccParity(WritableRawSector sector, EccHeader header) {
    Byte* bytes = sector.data();
    const Byte* covered = bytes + kHeaderAt;

    const Lanes<kPLanes> p = walkP(covered, kPDataRows, header);
    for (std::size_t c = 0; c < kRowBytes; ++c) {
        const Parity parity = parityFor(p.sum[c], p.horner[c]);
        bytes[kEccPAt + c] = parity.p;
        bytes[kEccPAt + kRowBytes + c] = parity.q;
    }

    const Lanes<kQLanes> q = walkQ(covered, header);
    for (std::size_t d = 0; d < kQCodewords; ++d) {
        const std::size_t lane = qLane(d);
        const Parity parity = parityFor(q.sum[lane], qLaneHorner(q, lane));
        bytes[kEccQAt + d] = parity.p;
        bytes[kQSecondParityAt + d] = parity.q;
    }
}

bool eccParityIsRight(RawSector sector, EccHeader header) {
    const Byte* bytes = sector.data();
    const Byte* covered = bytes + kHeaderAt;

    const Lanes<kPLanes> p = walkP(covered, kRows, header);
    Byte any = 0;
    for (std::size_t c = 0; c < kRowBytes; ++c) {
        any |= p.sum[c] | p.horner[c];
    }

    const Lanes<kQLanes> q = walkQ(covered, header);
    for (std::size_t d = 0; d < kQCodewords; ++d) {
        const std::size_t lane = qLane(d);
        const Byte first = bytes[kEccQAt + d];
        const Byte second = bytes[kQSecondParityAt + d];
        any |= q.sum[lane] ^ first ^ second;
        any |= timesAlpha(timesAlpha(qLaneHorner(q, lane))) ^ timesAlpha(first) ^ second;
    }
    return any == 0;
}

}  // namespace tavrel
