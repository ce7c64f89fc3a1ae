// Geometry of a raw CD image (.bin/.img): whole 2352-byte sectors, each carrying 2048 bytes of
// user data after 24 bytes of sync, header and subheader, and followed by EDC/ECC. Game data
// that runs past the end of one sector's user data continues at the start of the next one's.
// All offsets are 0-based file offsets.
#pragma once

#include <cstdint>
#include <vector>

#include "sector/raw_sector.h"

namespace tavrel {

// A contiguous run of bytes in the image file.
struct ByteRun {
    std::int64_t offset = 0;
    std::int64_t length = 0;
    friend bool operator==(const ByteRun&, const ByteRun&) = default;
};

// True when `offset` addresses a byte of some sector's user data.
constexpr bool isUserData(std::int64_t offset) {
    const std::int64_t inSector = offset % kRawSectorSize;
    return offset >= 0 && inSector >= kSectorUserDataStart && inSector < kSectorUserDataEnd;
}

// True when `length` bytes from `offset` on lie inside one sector's user data.
constexpr bool fitsInOneSector(std::int64_t offset, std::int64_t length) {
    return isUserData(offset) && offset % kRawSectorSize + length <= kSectorUserDataEnd;
}

// Splits `length` bytes of user data starting at `offset` into the runs the raw image holds
// them in, skipping the framing between sectors. Throws std::invalid_argument when `offset`
// is not a user-data byte: such a place is never game data.
std::vector<ByteRun> userDataRuns(std::int64_t offset, std::int64_t length);

}  // namespace tavrel
