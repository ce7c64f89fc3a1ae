// Runs of user data across the framing of raw sectors.
#include "image/raw_geometry.h"

#include <algorithm>
#include <stdexcept>

namespace tavrel {

std::vector<ByteRun> userDataRuns(std::int64_t position, std::int64_t length) {
    if (!isUserData(position)) {
        throw std::invalid_argument("position outside sector user data");
    }
    std::vector<ByteRun> runs;
    while (length > 0) {
        const std::int64_t inSector = (position - 1) % kRawSectorSize;
        const std::int64_t take = std::min(length, kSectorUserDataEnd - inSector);
        runs.push_back({position, take});
        length -= take;
        // Next sector's user data: past this sector's EDC/ECC and the next one's header.
        position += take + (kRawSectorSize - kSectorUserDataSize);
    }
    return runs;
}

}  // namespace tavrel
