#include "sector_samples.h"

#include <algorithm>

#include "sector/edc.h"

namespace tavrel::testing {

Sector makeSector(const Shape& shape, unsigned seed) {
    Sector s{};
    std::copy(kSectorSync.begin(), kSectorSync.end(), s.begin());
    s[13] = 0x02;
    s[kModeAt] = shape.mode;
    s[18] = s[22] = shape.submode;
    for (std::size_t i = 24; i < shape.edcAt; ++i)
        s[i] = static_cast<std::uint8_t>(seed * i * i >> 5);
    return s;
}

Sector randomSector(std::size_t kind, std::mt19937& random) {
    const Shape shapes[] = {kMode1, kForm1, kForm2, kForm2, kForm1, kForm1};
    Sector s = makeSector(shapes[kind % 6], 0);
    std::generate(s.begin() + 12, s.end(), [&] { return static_cast<std::uint8_t>(random()); });
    s[kModeAt] = kind % 6 == 5 ? 3 : shapes[kind % 6].mode;
    s[kSubmodeAt] = shapes[kind % 6].submode;
    storeEdc(s, kForm2EdcAt, kind % 6 == 3 ? 0 : 1);
    s[0] = kind % 6 == 4 ? 0x55 : 0;
    regenerateChecksums(s, ChecksumPath::Portable);
    return s;
}

std::uint32_t bitwiseEdc(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xD8018001u : 0);
    }
    return crc;
}

std::string pathName(const ::testing::TestParamInfo<ChecksumPath>& info) {
    return checksumPathName(info.param);
}

}  // namespace tavrel::testing
