// Sectors built in code for the sector and image tests, the paths the tests run on, and the EDC
// worked out without the program's sector code.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <random>
#include <span>
#include <string>

#include "sector/sector_checks.h"

namespace tavrel {

// For GoogleTest's messages and test names.
inline void PrintTo(ChecksumPath path, std::ostream* out) {
    *out << checksumPathName(path);
}

}  // namespace tavrel

namespace tavrel::testing {

using Sector = std::array<std::uint8_t, kRawSectorSize>;

struct Shape {
    std::uint8_t mode, submode;
    std::size_t edcAt;
};
inline constexpr Shape kMode1{1, 0x00, kMode1EdcAt}, kForm1{2, 0x08, kForm1EdcAt},
    kForm2{2, 0x28, kForm2EdcAt};

// Sync, header 00:02:00, the subheader twice, data from `seed` (zero for 0), checksums zero.
Sector makeSector(const Shape& shape, unsigned seed);

// Random data with right checksums, of kind `kind` % 6: Mode 1, Form 1, Form 2 with its EDC,
// Form 2 without, no sync, mode 3.
Sector randomSector(std::size_t kind, std::mt19937& random);

// The CRC (polynomial 0x8001801B, reflected, from zero) of `bytes`, one bit at a time.
std::uint32_t bitwiseEdc(std::span<const std::uint8_t> bytes);

// Names a test run on a path after the path: INSTANTIATE_TEST_SUITE_P(Processor, Suite,
// ::testing::ValuesIn(runnableChecksumPaths()), pathName).
std::string pathName(const ::testing::TestParamInfo<ChecksumPath>& info);

}  // namespace tavrel::testing
