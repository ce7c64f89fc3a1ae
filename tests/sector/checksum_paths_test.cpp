// Every checksum path against the byte-at-a-time reference and a bit-at-a-time CRC, and the
// choice of path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>
#include <vector>

#include "reference_checks.h"
#include "sector/edc.h"
#include "sector_oracle.h"
#include "sector_samples.h"

namespace tavrel::testing {
namespace {

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
