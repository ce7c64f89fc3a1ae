// The covered bytes (from the header on) form 26 rows of 86 bytes. Each column is a P codeword:
// 24 data rows, then the parity rows at 2076 and 2162. Q codeword d (0–51) takes at step m
// (0–42) the byte in column 2m + d%2 of row (m + d/2) mod 26, then its parity at 2248 + d and
// 2300 + d. All codewords of a kind are worked on side by side, one row or step at a time, so
// each step is the same byte operation over a run of lanes, which the compiler vectorises.
#include "image/ecc.h"

#include <array>
#include <cstring>

namespace tavrel {
namespace {

using Byte = std::uint8_t;

constexpr std::size_t kRowBytes = 86;
constexpr std::size_t kRows = 26;
constexpr std::size_t kPDataRows = 24;
constexpr std::size_t kQDataSteps = 43;
constexpr std::size_t kQSteps = 45;
constexpr std::size_t kQCodewords = 52;
constexpr std::size_t kQSecondParityAt = kEccQAt + kQCodewords;
// Lane counts rounded up to whole 16-byte vectors; the extra lanes are never looked at.
constexpr std::size_t kPLanes = 96;
constexpr std::size_t kQLanes = 64;

// Multiplication by α (that is, x) modulo x⁸+x⁴+x³+x²+1, with no branch on the top bit.
constexpr Byte timesAlpha(Byte x) {
    return static_cast<Byte>((x << 1) ^ (-(x >> 7) & 0x1D));
}

constexpr Byte gfMultiply(Byte a, Byte b) {
    Byte product = 0;
    for (; b != 0; b >>= 1, a = timesAlpha(a)) {
        product ^= (b & 1) != 0 ? a : 0;
    }
    return product;
}

// A codeword's two parity bytes p, q after data with sum s and Horner value h solve
// s + p + q = 0 and α²h + αp + q = 0, so p = (s + α²h) / (1 + α) and q = s + p.
constexpr std::array<Byte, 256> kDivideByOnePlusAlpha = [] {
    Byte inverse = 1;
    while (gfMultiply(inverse, 3) != 1) {
        ++inverse;
    }
    std::array<Byte, 256> table{};
    for (std::size_t x = 0; x < table.size(); ++x) {
        table[x] = gfMultiply(static_cast<Byte>(x), inverse);
    }
    return table;
}();

// N codewords fed one symbol each at a time. After symbols v0..vk a lane holds
// sum = Σ vi and horner = Σ vi·α^(k−i): the codeword polynomial at 1 and at α.
template <std::size_t N>
struct Lanes {
    std::array<Byte, N> sum{};
    std::array<Byte, N> horner{};

    void feed(const std::array<Byte, N>& symbols) {
        for (std::size_t i = 0; i < N; ++i) {
            sum[i] ^= symbols[i];
            horner[i] = timesAlpha(horner[i]) ^ symbols[i];
        }
    }

    bool allZero(std::size_t codewords) const {
        Byte any = 0;
        for (std::size_t i = 0; i < codewords; ++i) {
            any |= sum[i] | horner[i];
        }
        return any == 0;
    }

    void writeParity(std::size_t codewords, Byte* first, Byte* second) const {
        for (std::size_t i = 0; i < codewords; ++i) {
            first[i] = kDivideByOnePlusAlpha[sum[i] ^ timesAlpha(timesAlpha(horner[i]))];
            second[i] = sum[i] ^ first[i];
        }
    }
};

// The 26 rows as the code sees them: the first one from a copy when the header counts as zero.
class Rows {
public:
    Rows(const Byte* sector, EccHeader header) {
        for (std::size_t r = 0; r < kRows; ++r) {
            rows_[r] = sector + kHeaderAt + r * kRowBytes;
        }
        if (header == EccHeader::AsZero) {
            std::memcpy(firstRow_.data(), rows_[0], firstRow_.size());
            std::memset(firstRow_.data(), 0, 4);
            rows_[0] = firstRow_.data();
        }
    }

    // All P lanes of row r; the padding lanes read on into the next row, which stays inside
    // the sector even for the last row.
    std::array<Byte, kPLanes> pSymbols(std::size_t r) const {
        std::array<Byte, kPLanes> symbols;
        std::memcpy(symbols.data(), rows_[r], kPLanes);
        return symbols;
    }

    // All Q lanes of data step m: codeword d's byte pair sits in row (m + d/2) mod 26.
    std::array<Byte, kQLanes> qSymbols(std::size_t m) const {
        std::array<Byte, kQLanes> symbols{};
        std::size_t row = m % kRows;
        for (std::size_t d = 0; d < kQCodewords; d += 2) {
            std::memcpy(&symbols[d], rows_[row] + 2 * m, 2);
            row = row + 1 == kRows ? 0 : row + 1;
        }
        return symbols;
    }

private:
    std::array<const Byte*, kRows> rows_{};
    std::array<Byte, kPLanes> firstRow_{};
};

std::array<Byte, kQLanes> storedQParity(const Byte* sector, std::size_t at) {
    std::array<Byte, kQLanes> symbols{};
    std::memcpy(symbols.data(), sector + at, kQCodewords);
    return symbols;
}

// The strided gather of Q symbols is done for all steps before any is fed: feeding straight
// from freshly written small pieces would stall every vector load on store forwarding.
using QSymbols = std::array<std::array<Byte, kQLanes>, kQSteps>;

void gatherQData(const Rows& rows, QSymbols& steps) {
    for (std::size_t m = 0; m < kQDataSteps; ++m) {
        steps[m] = rows.qSymbols(m);
    }
}

}  // namespace

void writeEccParity(WritableRawSector sector, EccHeader header) {
    Byte* bytes = sector.data();
    const Rows rows(bytes, header);

    Lanes<kPLanes> p;
    for (std::size_t r = 0; r < kPDataRows; ++r) {
        p.feed(rows.pSymbols(r));
    }
    p.writeParity(kRowBytes, bytes + kEccPAt, bytes + kEccPAt + kRowBytes);

    QSymbols steps;
    gatherQData(rows, steps);
    Lanes<kQLanes> q;
    for (std::size_t m = 0; m < kQDataSteps; ++m) {
        q.feed(steps[m]);
    }
    q.writeParity(kQCodewords, bytes + kEccQAt, bytes + kQSecondParityAt);
}

bool eccParityIsRight(RawSector sector, EccHeader header) {
    const Byte* bytes = sector.data();
    const Rows rows(bytes, header);

    Lanes<kPLanes> p;
    for (std::size_t r = 0; r < kRows; ++r) {
        p.feed(rows.pSymbols(r));
    }

    QSymbols steps;
    gatherQData(rows, steps);
    steps[kQDataSteps] = storedQParity(bytes, kEccQAt);
    steps[kQDataSteps + 1] = storedQParity(bytes, kQSecondParityAt);
    Lanes<kQLanes> q;
    for (const auto& step : steps) {
        q.feed(step);
    }
    return p.allZero(kRowBytes) && q.allZero(kQCodewords);
}

}  // namespace tavrel
