// An edit carries the checksums of the sectors it touches that check right before it, whatever
// their kind, and leaves every other sector's checksum bytes exactly as they were. Checked with
// the tests' own bit-by-bit CRC and syndromes.
#include <gtest/gtest.h>

#include "image/checksum_carry.h"
#include "image/image_file.h"
#include "sector/edc.h"
#include "sector/sector_checks.h"
#include "sector_oracle.h"
#include "test_files.h"

namespace tavrel::testing {
namespace {

struct Kind {
    const char* name;
    std::uint8_t mode, submode;
    std::size_t edcFrom, edcAt;  // edcAt 0: no EDC in use
    bool ecc, carried;
};

// One sector of each kind, a change in its user data at byte 100 of it.
const Kind kKinds[] = {
    {"mode 1", 1, 0x00, 0, kMode1EdcAt, true, true},
    {"form 1", 2, 0x08, 16, kForm1EdcAt, true, true},
    {"form 2", 2, 0x28, 16, kForm2EdcAt, false, true},
    {"form 2 without EDC", 2, 0x28, 16, 0, false, false},
    {"form 1, ECC wrong before", 2, 0x08, 16, kForm1EdcAt, true, false},
    {"no sync", 2, 0x08, 16, kForm1EdcAt, true, false},
};

Bytes sectorOf(const Kind& kind, unsigned seed) {
    Bytes s(kRawSectorSize);
    std::copy(kSectorSync.begin(), kSectorSync.end(), s.begin());
    s[13] = 0x02;
    s[kModeAt] = kind.mode;
    s[18] = s[22] = kind.submode;
    for (std::size_t i = 24; i < 2048 + 24; ++i) s[i] = static_cast<std::uint8_t>(seed * i >> 3);
    if (kind.edcAt != 0)
        storeEdc(s, kForm2EdcAt, 1);  // puts a Form 2 EDC in use; regeneration sets it
    regenerateChecksums(std::span(s).first<kRawSectorSize>());
    if (std::string_view(kind.name).starts_with("form 1, ECC"))
        s[2300] ^= 0x10;
    if (std::string_view(kind.name) == "no sync")
        s[3] = 0;
    return s;
}

TEST(ChecksumCarry, EachKindOfSectorKeepsItsChecksumsRightOrAsTheyWere) {
    TempDir dir;
    Bytes image;
    for (std::size_t k = 0; k < std::size(kKinds); ++k) {
        const Bytes s = sectorOf(kKinds[k], static_cast<unsigned>(k + 3));
        image.insert(image.end(), s.begin(), s.end());
    }
    writeWholeFile(dir.file("image.bin"), image);
    ImageFile file(dir.file("image.bin"));
    ImageEdit edit;
    for (std::size_t k = 0; k < std::size(kKinds); ++k) {
        const std::int64_t at = static_cast<std::int64_t>(k) * kRawSectorSize + 100;
        edit.changes.push_back({at, file.read(at, 2), Bytes{0x5A, 0xA5}});
    }
    carrySectorChecksums(file, edit);
    writeEdit(file, edit);
    EXPECT_EQ(edit.checksumSectors, 3u);

    const Bytes after = readWholeFile(dir.file("image.bin"));
    for (std::size_t k = 0; k < std::size(kKinds); ++k) {
        const Kind& kind = kKinds[k];
        SCOPED_TRACE(kind.name);
        const auto sector = std::span(after).subspan(k * kRawSectorSize, kRawSectorSize);
        const auto before = std::span(image).subspan(k * kRawSectorSize, kRawSectorSize);
        const std::size_t checksums = kind.edcAt == 0 ? kRawSectorSize : kind.edcAt;
        for (std::size_t i = 0; i < kRawSectorSize; ++i) {
            const bool place = i == 100 || i == 101;
            const bool mayChange = place || (kind.carried && i >= checksums);
            EXPECT_TRUE(mayChange || sector[i] == before[i]) << i;
        }
        EXPECT_EQ(sector[100], 0x5A);
        if (kind.carried) {
            EXPECT_TRUE(edcHolds(sector, kind.edcFrom, kind.edcAt));
            EXPECT_TRUE(!kind.ecc || eccHolds(sector, kind.mode == 2));
        }
    }
}

TEST(ChecksumCarry, ASectorWhoseChecksumsTheEditWritesIsLeftToIt) {
    TempDir dir;
    const Bytes sector = sectorOf(kKinds[1], 7);
    writeWholeFile(dir.file("image.bin"), sector);
    ImageFile file(dir.file("image.bin"));
    ImageEdit repair;
    repair.changes = {{100, {sector[100]}, {0x11}}, {2100, {sector[2100]}, {0x22}}};
    carrySectorChecksums(file, repair);
    EXPECT_EQ(repair.changes.size(), 2u);
    EXPECT_EQ(repair.checksumSectors, 0u);
}

}  // namespace
}  // namespace tavrel::testing
