// Runs of user data across the framing of raw sectors.
#include "image/raw_geometry.h"

#include <algorithm>
#include <stdexcept>

namespace tavrel {

std::vector<ByteRun> userDataRuns(std::int64_t offset, std::int64_t length) {
    if (!isUserData(offset))
        throw std::invalid_argument("offset outside sector user data");
    std::vector<ByteRun> runs;
    while (length > 0) {
        const std::int64_t take = std::min(length, kSectorUserDataEnd - offset % kRawSectorSize);
        runs.push_back({offset, take});
        length -= take;
        // Next sector's user data: past this sector's EDC/ECC and the next one's header.
        offset += take + (kRawSectorSize - kSectorUserDataSize);
    }
    return runs;
}

}  // namespace tavrel
