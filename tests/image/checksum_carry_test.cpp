// An edit carries the checksums of the sectors it touches that check right before it, whatever
// their kind, and leaves every other sector's checksum bytes exactly as they were. Checked with
// the byte-at-a-time reference, which shares no code with the program's sector code.
#include <gtest/gtest.h>

#include "image/checksum_carry.h"
#include "image/image_file.h"
#include "reference_checks.h"
#include "sector/edc.h"
#include "sector/sector_checks.h"
#include "sector_samples.h"
#include "test_files.h"

namespace tavrel::testing {
namespace {

struct Kind {
    const char* name;
    Shape shape;
    bool edcInUse, carried;
};

// One sector of each kind, a change in its user data at byte 100 of it.
const Kind kKinds[] = {
    {"mode 1", kMode1, true, true},
    {"form 1", kForm1, true, true},
    {"form 2", kForm2, true, true},
    {"form 2 without EDC", kForm2, false, false},
    {"form 1, ECC wrong before", kForm1, true, false},
    {"no sync", kForm1, true, false},
};

Sector sectorOf(const Kind& kind, unsigned seed) {
    Sector s = makeSector(kind.shape, seed);
    if (kind.edcInUse)
        storeEdc(s, kForm2EdcAt, 1);  // puts a Form 2 EDC in use; regeneration sets it
    regenerateChecksums(s);
    if (std::string_view(kind.name).starts_with("form 1, ECC"))
        s[2300] ^= 0x10;
    if (std::string_view(kind.name) == "no sync")
        s[3] = 0;
    return s;
}

TEST(ChecksumCarry, EachKindOfSectorKeepsItsChecksumsRightOrAsTheyWereOrAsTheEditWritesThem) {
    TempDir dir;
    Bytes image;
    for (std::size_t k = 0; k < std::size(kKinds); ++k) {
        const Sector s = sectorOf(kKinds[k], static_cast<unsigned>(k + 3));
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
        const std::size_t checksums = kind.edcInUse ? kind.shape.edcAt : kRawSectorSize;
        for (std::size_t i = 0; i < kRawSectorSize; ++i) {
            const bool place = i == 100 || i == 101;
            const bool mayChange = place || (kind.carried && i >= checksums);
            EXPECT_TRUE(mayChange || sector[i] == before[i]) << i;
        }
        EXPECT_EQ(sector[100], 0x5A);
        EXPECT_TRUE(!kind.carried || bench::referenceCheck(sector.first<kRawSectorSize>()).right());
    }

    // A sector whose checksums the edit writes itself (Form 1's, right now) is left to it.
    constexpr std::int64_t kData = kRawSectorSize + 100, kEcc = kRawSectorSize + 2100;
    ImageEdit repair;
    repair.changes = {{kData, file.read(kData, 1), {0x11}}, {kEcc, file.read(kEcc, 1), {0x22}}};
    carrySectorChecksums(file, repair);
    EXPECT_EQ(repair.changes.size(), 2u);
    EXPECT_EQ(repair.checksumSectors, 0u);
}

}  // namespace
}  // namespace tavrel::testing
