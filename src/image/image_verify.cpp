// Reading an image in chunks for its checksums.
#include "image/image_verify.h"

#include <algorithm>
#include <future>

#include "image/image_file.h"

namespace tavrel {
namespace {

constexpr std::int64_t kChunkSectors = 1792;  // about 4 MB

// Checks a chunk in two halves at once: the checks, not the reading, take the time.
void checkChunk(std::span<const std::uint8_t> chunk, std::int64_t first, VerifyTally& tally) {
    const std::size_t sectors = chunk.size() / kRawSectorSize;
    const std::size_t half = sectors / 2 * kRawSectorSize;
    VerifyTally later;
    auto secondHalf = std::async(std::launch::async, [&] {
        verifySectors(chunk.subspan(half), first + static_cast<std::int64_t>(sectors / 2), later);
    });
    verifySectors(chunk.first(half), first, tally);
    secondHalf.get();
    tally.add(later);
}

}  // namespace

VerifyTally verifyImage(const ImageFile& file, const VerifyProgress& progress) {
    const std::int64_t total = file.size() / kRawSectorSize;
    VerifyTally tally;
    std::vector<std::uint8_t> current, next;
    const auto read = [&](std::vector<std::uint8_t>& chunk, std::int64_t first) {
        const std::int64_t count = std::min(kChunkSectors, total - first);
        chunk.resize(static_cast<std::size_t>(std::max<std::int64_t>(count, 0) * kRawSectorSize));
        if (count > 0)
            file.readInto(first * kRawSectorSize, chunk);
    };
    read(current, 0);
    for (std::int64_t first = 0; first < total; first += kChunkSectors) {
        auto reading = std::async(std::launch::async, read, std::ref(next), first + kChunkSectors);
        checkChunk(current, first, tally);
        reading.get();
        std::swap(current, next);
        if (progress)
            progress(std::min(first + kChunkSectors, total), total);
    }
    return tally;
}

VerifyTally verifyImageSectors(const ImageFile& file, std::span<const std::int64_t> sectors) {
    VerifyTally tally;
    for (const std::int64_t sector : sectors)
        verifySectors(file.read(sector * kRawSectorSize, kRawSectorSize), sector, tally);
    return tally;
}

}  // namespace tavrel
