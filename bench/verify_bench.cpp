// Times verification of a 700 MB raw image against plain reading of it and against a
// byte-at-a-time reference. The image is built in a page-cache folder (default /dev/shm, or the
// first argument), read in chunks of a few MB, and removed at the end.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <future>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "image/image_file.h"
#include "image/image_verify.h"
#include "sector/sector_checks.h"
#include "sector/sector_verify.h"
#include "reference_checks.h"

namespace {

using namespace tavrel;

constexpr std::int64_t kSectors = 300'000;
constexpr std::size_t kChunkSectors = 1792;  // about 4 MB
constexpr std::size_t kChunkBytes = kChunkSectors * kRawSectorSize;

using Chunk = std::vector<std::uint8_t>;
using ChunkHandler = std::function<void(std::span<const std::uint8_t>, std::int64_t firstSector)>;

std::uint8_t bcd(std::int64_t value) {
    return static_cast<std::uint8_t>(value / 10 * 16 + value % 10);
}

// Mode 2 Form 1 sectors with pseudo-random user data, addressed from 00:02:00 on.
void writeImage(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        throw std::runtime_error("cannot create " + path);
    Chunk chunk(kChunkBytes);
    std::uint64_t random = 0x9E3779B97F4A7C15;
    for (std::int64_t first = 0; first < kSectors; first += kChunkSectors) {
        const std::int64_t count = std::min<std::int64_t>(kChunkSectors, kSectors - first);
        for (std::int64_t i = 0; i < count; ++i) {
            const auto sector =
                std::span(chunk).subspan(i * kRawSectorSize).first<kRawSectorSize>();
            std::fill(sector.begin(), sector.end(), 0);
            std::copy(kSectorSync.begin(), kSectorSync.end(), sector.begin());
            const std::int64_t address = first + i + 150;
            sector[12] = bcd(address / 4500);
            sector[13] = bcd(address / 75 % 60);
            sector[14] = bcd(address % 75);
            sector[15] = 2;
            sector[18] = sector[22] = 0x08;
            for (std::size_t at = 24; at < kForm1EdcAt; ++at) {
                random ^= random << 13, random ^= random >> 7, random ^= random << 17;
                sector[at] = static_cast<std::uint8_t>(random >> 56);
            }
            regenerateChecksums(sector);
        }
        if (std::fwrite(chunk.data(), kRawSectorSize, count, file) !=
            static_cast<std::size_t>(count))
            throw std::runtime_error("cannot write " + path);
    }
    if (std::fclose(file) != 0)
        throw std::runtime_error("cannot write " + path);
}

std::size_t readChunk(int fd, Chunk& chunk) {
    std::size_t filled = 0;
    while (filled < chunk.size()) {
        const ssize_t got = ::read(fd, chunk.data() + filled, chunk.size() - filled);
        if (got < 0)
            throw std::runtime_error("read failed");
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

// Reads the image chunk by chunk and hands each chunk on. With `overlapped`, the next chunk is
// read on a second thread while the current one is handled.
double timeScan(const std::string& path, const ChunkHandler& handle, bool overlapped = false) {
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    Chunk current(kChunkBytes), next(kChunkBytes);
    std::size_t filled = readChunk(fd, current);
    for (std::int64_t first = 0; filled > 0; first += kChunkSectors) {
        std::future<std::size_t> reading;
        if (overlapped)
            reading = std::async(std::launch::async, readChunk, fd, std::ref(next));
        handle(std::span(current).first(filled), first);
        filled = overlapped ? reading.get() : readChunk(fd, next);
        std::swap(current, next);
    }
    ::close(fd);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The reference's count of kinds and bad sectors (it lists none).
void referenceVerify(std::span<const std::uint8_t> wholeSectors, VerifyTally& tally) {
    for (std::size_t at = 0; at < wholeSectors.size(); at += kRawSectorSize) {
        const SectorCheck check =
            bench::referenceCheck(wholeSectors.subspan(at).first<kRawSectorSize>());
        ++tally.sectorsOfKind[static_cast<std::size_t>(check.kind)];
        tally.badSectors += check.right() ? 0 : 1;
    }
}

// The best of a few runs: other work on the machine only ever makes a run slower.
double bestOf(int runs, const std::string& path, const ChunkHandler& handle,
              bool overlapped = false) {
    double best = timeScan(path, handle, overlapped);
    for (int run = 1; run < runs; ++run) best = std::min(best, timeScan(path, handle, overlapped));
    return best;
}

void printTally(const char* what, const VerifyTally& tally) {
    std::int64_t checked = 0;
    for (const std::int64_t count : tally.sectorsOfKind) checked += count;
    std::printf("%-22s %lld sectors checked, %lld of them Mode 2 Form 1, %lld bad\n", what,
                static_cast<long long>(checked),
                static_cast<long long>(tally.count(SectorKind::Mode2Form1)),
                static_cast<long long>(tally.badSectors));
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : "/dev/shm";
    const std::string path =
        (folder / ("tavrel-verify-bench-" + std::to_string(::getpid()) + ".bin")).string();
    struct RemoveAtEnd {
        std::string path;
        ~RemoveAtEnd() { std::filesystem::remove(path); }
    } removeAtEnd{path};

    try {
        writeImage(path);
        std::printf("image: %lld sectors, %.1f MB, in %s\n", static_cast<long long>(kSectors),
                    static_cast<double>(kSectors * kRawSectorSize) / 1e6, folder.c_str());
        VerifyTally fast, oneThread, reference;
        const double read = bestOf(3, path, [](auto, auto) {});
        // What tavrel-tool verify runs: the image opened and locked, checked on two threads while
        // the next chunk is read.
        double verify = 1e9;
        for (int run = 0; run < 3; ++run) {
            const auto start = std::chrono::steady_clock::now();
            fast.add(verifyImage(ImageFile(path, ImageAccess::ReadOnly)));
            verify = std::min(
                verify,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        const double single = bestOf(
            3, path, [&](auto bytes, auto first) { verifySectors(bytes, first, oneThread); });
        const double slow =
            bestOf(2, path, [&](auto bytes, auto) { referenceVerify(bytes, reference); });

        std::printf("read                     %.3f s\n", read);
        std::printf("verify (tavrel-tool)     %.3f s   verify/read %.2f\n", verify, verify / read);
        std::printf("verify, one thread       %.3f s   verify/read %.2f\n", single, single / read);
        std::printf(
            "reference, one thread    %.3f s   reference/verify %.2f, reference/one thread %.2f\n",
            slow, slow / verify, slow / single);
        // Tallies add up over the runs.
        printTally("verify (3 runs):", fast);
        printTally("one thread (3 runs):", oneThread);
        printTally("reference (2 runs):", reference);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "verify_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
