// The portable ECC: codewords in byte lanes of plain arrays, in groups of 16 that the compiler
// turns into vector code of the baseline instruction set.
#include <algorithm>
#include <array>
#include <cstddef>

#include "sector/ecc_kernels.h"
#include "sector/ecc_layout.h"
#include "sector/gf256.h"

namespace tavrel {
namespace {

using Byte = std::uint8_t;

// Lane counts rounded up to whole 16-byte vectors; the extra lanes are never looked at.
constexpr std::size_t kPLanes = 96;
constexpr std::size_t kQLanes = 64;

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

struct Parity {
    Byte p;
    Byte q;
};

constexpr Parity parityFor(Byte sum, Byte horner) {
    const Byte p = timesAlphaPower(sum ^ timesAlpha(timesAlpha(horner)), kOverOnePlusAlpha);
    return {p, static_cast<Byte>(sum ^ p)};
}

// P: lane c is byte column c; row r is fed at step r. The padding lanes read on into the next
// row, which stays inside the sector even for the last row.
Lanes<kPLanes> walkP(const Byte* covered, std::size_t rows, EccHeader header) {
    const RowMask& firstRow = header == EccHeader::AsZero ? kRowAfterHeader : kWholeRow;
    Lanes<kPLanes> all;
    for (std::size_t g = 0; g < kPLanes; g += kGroup) {
        LaneGroup lanes;
        feed(lanes, covered + g, &firstRow[kMaskLead + g]);
        for (std::size_t r = 1; r < rows; ++r) {
            feed(lanes, covered + r * kEccRowBytes + g, &kWholeRow[kMaskLead + g]);
        }
        store(all, g, lanes);
    }
    return all;
}

// Q in the order ecc_layout.h describes. A group runs from the first time any of its lanes has a
// symbol to the last; a lane that ends earlier is multiplied by α once per step after its end,
// which qLaneHorner() undoes.
Lanes<kQLanes> walkQ(const Byte* covered, EccHeader header) {
    const RowMask& firstRow = header == EccHeader::AsZero ? kRowAfterHeader : kWholeRow;
    Lanes<kQLanes> all;
    for (std::size_t g = 0; g < kQLanes; g += kGroup) {
        const std::size_t lastPair = std::min(g / 2 + kGroup / 2 - 1, kQLastPair);
        const std::size_t begin = kQLastPair - lastPair;
        const std::size_t end = kQTimes - g / 2;
        // The group's place in the row: 2t − 50 + g at time t.
        std::ptrdiff_t at = static_cast<std::ptrdiff_t>(2 * begin + g) - kMaskLead;
        std::size_t row = begin;
        LaneGroup lanes;
        for (std::size_t t = begin; t < end; ++t, at += 2) {
            const RowMask& mask = row == 0 ? firstRow : kWholeRow;
            feed(lanes, covered + row * kEccRowBytes + at,
                 &mask[static_cast<std::size_t>(at + kMaskLead)]);
            row = row == kQLastPair ? 0 : row + 1;
        }
        store(all, g, lanes);
    }
    return all;
}

// Codeword 2n + b sits in lane 2k + b with k = 25 − n.
constexpr std::size_t qLane(std::size_t codeword) {
    return 2 * (kQLastPair - codeword / 2) + codeword % 2;
}

// The Horner value of a Q lane, less the steps it ran on after its codeword's end.
Byte qLaneHorner(const Lanes<kQLanes>& lanes, std::size_t lane) {
    return timesAlphaPower(lanes.horner[lane], 255 - static_cast<int>(lane % kGroup / 2));
}

}  // namespace

void writeEccParityPortable(WritableRawSector sector, EccHeader header) {
    Byte* bytes = sector.data();
    const Byte* covered = bytes + kHeaderAt;

    const Lanes<kPLanes> p = walkP(covered, kPDataRows, header);
    for (std::size_t c = 0; c < kEccRowBytes; ++c) {
        const Parity parity = parityFor(p.sum[c], p.horner[c]);
        bytes[kEccPAt + c] = parity.p;
        bytes[kPSecondParityAt + c] = parity.q;
    }

    const Lanes<kQLanes> q = walkQ(covered, header);
    for (std::size_t d = 0; d < kQCodewords; ++d) {
        const std::size_t lane = qLane(d);
        const Parity parity = parityFor(q.sum[lane], qLaneHorner(q, lane));
        bytes[kEccQAt + d] = parity.p;
        bytes[kQSecondParityAt + d] = parity.q;
    }
}

bool eccParityIsRightPortable(RawSector sector, EccHeader header) {
    const Byte* bytes = sector.data();
    const Byte* covered = bytes + kHeaderAt;

    const Lanes<kPLanes> p = walkP(covered, kEccRows, header);
    Byte any = 0;
    for (std::size_t c = 0; c < kEccRowBytes; ++c) {
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
