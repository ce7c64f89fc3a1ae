// A one-table CRC taking one byte per step, and each ECC codeword re-encoded with a two-stage
// shift register whose multiplications go through log and antilog tables, then compared.
#include "reference_checks.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tavrel::bench {
namespace {

struct Tables {
    std::array<std::uint32_t, 256> crc{};
    std::array<std::uint8_t, 512> antilog{};
    std::array<int, 256> log{};

    Tables() {
        for (std::uint32_t b = 0; b < 256; ++b) {
            std::uint32_t c = b;
            for (int bit = 0; bit < 8; ++bit) c = (c >> 1) ^ ((c & 1) != 0 ? 0xD8018001 : 0);
            crc[b] = c;
        }
        unsigned x = 1;
        for (int i = 0; i < 255; ++i) {
            antilog[i] = antilog[i + 255] = static_cast<std::uint8_t>(x);
            log[x] = i;
            x = (x << 1) ^ ((x & 0x80) != 0 ? 0x11D : 0);
        }
    }

    std::uint8_t multiply(std::uint8_t a, std::uint8_t b) const {
        return a == 0 || b == 0 ? 0 : antilog[log[a] + log[b]];
    }
};

const Tables kTables;

std::uint32_t crc(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t c = 0;
    for (std::size_t i = 0; i < count; ++i) c = (c >> 8) ^ kTables.crc[(c ^ bytes[i]) & 0xFF];
    return c;
}

std::uint32_t stored(const std::uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// Byte b (0 or 1) of the code's 16-bit word n, with the Mode 2 header read as zero.
std::uint8_t symbol(const std::uint8_t* sector, std::size_t word, std::size_t b, bool zeroHeader) {
    const std::size_t at = 12 + 2 * word + b;
    return zeroHeader && at < 16 ? 0 : sector[at];
}

// Divides the data by (x + 1)(x + α) = x² + 3x + 2 and compares the remainder with the parity.
bool codewordIsRight(const std::uint8_t* sector, const std::size_t* words, std::size_t dataCount,
                     std::size_t b, bool zeroHeader) {
    std::uint8_t r1 = 0, r0 = 0;
    for (std::size_t i = 0; i < dataCount; ++i) {
        const std::uint8_t feedback = symbol(sector, words[i], b, zeroHeader) ^ r1;
        r1 = r0 ^ kTables.multiply(feedback, 3);
        r0 = kTables.multiply(feedback, 2);
    }
    return r1 == sector[12 + 2 * words[dataCount] + b] &&
           r0 == sector[12 + 2 * words[dataCount + 1] + b];
}

bool eccIsRight(const std::uint8_t* sector, bool zeroHeader) {
    std::array<std::size_t, 45> words{};
    for (std::size_t n = 0; n < 43; ++n) {
        for (std::size_t m = 0; m < 26; ++m) words[m] = 43 * m + n;
        for (std::size_t b = 0; b < 2; ++b) {
            if (!codewordIsRight(sector, words.data(), 24, b, zeroHeader))
                return false;
        }
    }
    for (std::size_t n = 0; n < 26; ++n) {
        for (std::size_t m = 0; m < 43; ++m) words[m] = (44 * m + 43 * n) % 1118;
        words[43] = 1118 + n;
        words[44] = 1144 + n;
        for (std::size_t b = 0; b < 2; ++b) {
            if (!codewordIsRight(sector, words.data(), 43, b, zeroHeader))
                return false;
        }
    }
    return true;
}

}  // namespace

SectorCheck referenceCheck(RawSector sector) {
    const std::uint8_t* s = sector.data();
    SectorCheck check;
    if (!std::equal(kSectorSync.begin(), kSectorSync.end(), s))
        return check;
    if (s[15] == 1) {
        check.kind = SectorKind::Mode1;
        check.edcRight = crc(s, 2064) == stored(s + 2064);
        check.eccRight = eccIsRight(s, false);
    } else if (s[15] == 2 && (s[18] & 0x20) == 0) {
        check.kind = SectorKind::Mode2Form1;
        check.edcRight = crc(s + 16, 2056) == stored(s + 2072);
        check.eccRight = eccIsRight(s, true);
    } else if (s[15] == 2) {
        check.kind = SectorKind::Mode2Form2;
        check.edcRight = stored(s + 2348) == 0 || crc(s + 16, 2332) == stored(s + 2348);
    } else {
        check.kind = SectorKind::OtherMode;
    }
    return check;
}

}  // namespace tavrel::bench
