// The sector arithmetic: known answers, every byte error caught, what regeneration rewrites and
// what verifying tallies; every checksum path against the byte-at-a-time reference and a
// bit-at-a-time CRC, and the choice of path.
#include "sector/sector_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "reference_checks.h"
#include "sector/edc.h"
#include "sector/sector_verify.h"
#include "sector_samples.h"

namespace tavrel::testing {
namespace {

// The arithmetic, on each path the processor runs.
class SectorChecks : public ::testing::TestWithParam<ChecksumPath> {};
INSTANTIATE_TEST_SUITE_P(Processor, SectorChecks, ::testing::ValuesIn(runnableChecksumPaths()),
                         pathName);

// EDC values derived once with a bit-by-bit CRC; parity bytes by searching, per codeword, all
// 256 first parity bytes for the one that (with the second set to make S0 zero) makes S1 zero.
TEST_P(SectorChecks, KnownAnswers) {
    const std::vector<std::uint8_t> bytes{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(edc(bytes, GetParam()), 0x6EC2EDC4u);
    const std::pair<Shape, std::vector<std::pair<std::size_t, unsigned>>> cases[] = {
        {kMode1,
         {{2064, 0xC5}, {2067, 0x2B}, {2077, 0xF7}, {2150, 0x52}, {2249, 0x41}, {2351, 0x12}}},
        // Zero user data and a header the code leaves out: only the submode (byte 18) counts.
        {kForm1,
         {{2072, 0x0B}, {2075, 0x94}, {2082, 0xFB}, {2158, 0x1D}, {2262, 0x9E}, {2269, 0x23}}},
    };
    for (const auto& [shape, expected] : cases) {
        Sector s = makeSector(shape, 0);
        regenerateChecksums(s, GetParam());
        for (const auto& [at, value] : expected) EXPECT_EQ(s[at], value) << at;
    }
}

TEST_P(SectorChecks, EveryByteErrorFailsTheChecksThatCoverIt) {
    struct Case {
        Shape shape;
        std::size_t edcFrom, edcTo, eccFrom;
    };
    for (const Case& c :
         {Case{kMode1, 0, 2068, 12}, Case{kForm1, 16, 2076, 16}, Case{kForm2, 16, 2352, 2352}}) {
        Sector s = makeSector(c.shape, 5);
        storeEdc(s, kForm2EdcAt, 1);  // puts a Form 2 EDC in use; in the others it becomes ECC
        regenerateChecksums(s, GetParam());
        const SectorKind kind = sectorKind(s);
        // From the subheader on: before it lie the sync and mode bytes, which decide the kind.
        // Errors of every weight, top bit set or not, as a lane's carry depends on it.
        for (std::size_t at = kSubheaderAt; at < s.size(); ++at) {
            const auto error = static_cast<std::uint8_t>(at % 255 + 1);
            s[at] ^= error;
            const SectorCheck expected{kind, at < c.edcFrom || at >= c.edcTo, at < c.eccFrom};
            EXPECT_EQ(checkSector(s, GetParam()), expected) << at;
            s[at] ^= error;
        }
    }
}

// Each sector is made right (as far as regeneration goes), then one byte is set to a value.
TEST(SectorRegeneration, RewritesOnlySectorsThatCarryChecksums) {
    using enum SectorKind;
    struct Case {
        const char* name;
        Shape shape;
        std::size_t at;
        std::uint8_t value;
        Regeneration expected;
    };
    const Case cases[] = {
        {"no sync", kForm1, 5, 0xFE, {NoSync}},
        {"mode 3", kForm1, kModeAt, 3, {OtherMode}},
        {"form 2, EDC not used", kForm2, 100, 0, {Mode2Form2}},
        {"form 2", kForm2, kForm2EdcAt, 1, {Mode2Form2, true, true, false}},
        {"mode 1, zero byte", kMode1, 2070, 0x55, {Mode1, true, false, true}},
        {"form 1, user data", kForm1, 100, 0x55, {Mode2Form1, true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sector s = makeSector(c.shape, 1);
        regenerateChecksums(s);
        s[c.at] = c.value;
        const Sector before = s;
        EXPECT_EQ(regenerateChecksums(s), c.expected);
        EXPECT_TRUE(checkSector(s).right());
        EXPECT_FALSE(regenerateChecksums(s).changed());
        // Everything before the EDC stays, and so do the Mode 1 zero bytes (2070 is one).
        const std::size_t keptUpTo = c.expected.allowed ? c.shape.edcAt : s.size();
        EXPECT_TRUE(std::equal(s.begin(), s.begin() + keptUpTo, before.begin()));
        EXPECT_EQ(s[2070], before[2070]);
    }
}

// Sectors 100–139 in chunks of 16: in each five, a good Form 1 sector, then a bad ECC byte, a bad
// data byte (EDC and ECC both wrong), a Form 2 sector with a bad EDC, and one without sync.
TEST(SectorVerify, TalliesKindsAndListsTheFirstBadSectorsAcrossChunks) {
    VerifyTally tally;
    for (std::size_t first = 0; first < 40; first += 16) {
        std::vector<std::uint8_t> chunk;
        for (std::size_t i = first; i < std::min<std::size_t>(first + 16, 40); ++i) {
            Sector s = makeSector(i % 5 == 3 ? kForm2 : kForm1, static_cast<unsigned>(i + 1));
            storeEdc(s, kForm2EdcAt, 1);
            regenerateChecksums(s);
            const std::size_t spoiled[] = {0, kEccQAt, 100, kForm2EdcAt, 0};
            s[spoiled[i % 5]] ^= i % 5 == 0 ? 0 : 1;
            chunk.insert(chunk.end(), s.begin(), s.end());
        }
        verifySectors(chunk, static_cast<std::int64_t>(first) + 100, tally);
    }
    EXPECT_EQ(tally.sectorsOfKind, (std::array<std::int64_t, 5>{8, 0, 24, 8, 0}));
    EXPECT_EQ(tally.badSectors, 24);
    ASSERT_EQ(tally.firstBadSectors.size(), 20u);
    const SectorFault faults[] = {SectorFault::Ecc, SectorFault::EdcAndEcc, SectorFault::Edc};
    for (std::size_t k = 0; k < 20; ++k) {
        const auto n = static_cast<std::int64_t>(100 + 5 * (k / 3) + 1 + k % 3);
        EXPECT_EQ(tally.firstBadSectors[k], (BadSector{n, n * 2352, faults[k % 3]}));
    }
}

class EveryPath : public ::testing::TestWithParam<ChecksumPath> {};
INSTANTIATE_TEST_SUITE_P(Processor, EveryPath, ::testing::ValuesIn(runnableChecksumPaths()),
                         pathName);

// Every tail and count of 16-byte blocks up to a few folds, then longer runs.
TEST_P(EveryPath, EdcOfEveryLengthIsTheCrc) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> bytes(2400);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    for (std::size_t length = 0; length <= bytes.size(); length += length < 300 ? 1 : 61) {
        const auto message = std::span(bytes).first(length);
        EXPECT_EQ(edc(message, GetParam()), bitwiseEdc(message)) << length;
    }
}

// Random sectors of every kind, sound or with a few random byte errors anywhere, sync and mode
// included; their checks, and their regeneration, which must leave them sound and give every
// path the same bytes.
TEST_P(EveryPath, AgreesWithTheReferenceOnRandomSectors) {
    std::mt19937 random(11);
    for (std::size_t i = 0; i < 3000; ++i) {
        Sector s = randomSector(i, random);
        for (auto errors = random() % 3; errors > 0; --errors)
            s[random() % s.size()] ^= static_cast<std::uint8_t>(random() % 255 + 1);
        ASSERT_EQ(checkSector(s, GetParam()), bench::referenceCheck(s)) << i;

        Sector onPath = s, portable = s;
        ASSERT_EQ(regenerateChecksums(onPath, GetParam()),
                  regenerateChecksums(portable, ChecksumPath::Portable))
            << i;
        ASSERT_EQ(onPath, portable) << i;
        ASSERT_TRUE(bench::referenceCheck(onPath).right()) << i;
    }
}

// The forced path is the one run by the second run of these tests (see CMakeLists.txt).
TEST(ChecksumPath, IsTheFastestUnlessThePortableOneIsForced) {
    const char* forced = std::getenv("TAVREL_PORTABLE_CHECKSUMS");
    const bool portable = forced != nullptr && std::string_view(forced) == "1";
    EXPECT_EQ(activeChecksumPath(),
              portable ? ChecksumPath::Portable : runnableChecksumPaths().back());
    EXPECT_EQ(runnableChecksumPaths().front(), ChecksumPath::Portable);
}

}  // namespace
}  // namespace tavrel::testing
