// Times verification of a 700 MB raw image, and the search for repairs on it (none are due),
// against plain reading of it and against a byte-at-a-time reference, on every checksum path
// this processor runs. The image is built in a page-cache folder (default /dev/shm, or the
// first argument), read in chunks of a few MB, and removed at the end. Prints the best of a few
// runs and the ratios; then tavrel-tool info's digests of the same image, in GB/s.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "image/image_file.h"
#include "reference_checks.h"
#include "sector/sector_checks.h"
#include "sector/sector_verify.h"
#include "platform/digest.h"
#include "walk/file_digests.h"
#include "walk/image_verify.h"
#include "walk/sector_repairs.h"

namespace {

using namespace tavrel;

constexpr std::int64_t kSectors = 300'000;
// Runs of each measurement but the reference's, of which the best counts: the walks need every
// core, and on a shared machine one is often busy for a moment.
constexpr int kRuns = 5;
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

// Reads the image chunk by chunk, one thread, and hands each chunk on.
double timeScan(const std::string& path, const ChunkHandler& handle) {
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    Chunk chunk(kChunkBytes);
    for (std::int64_t first = 0;; first += kChunkSectors) {
        const std::size_t filled = readChunk(fd, chunk);
        if (filled == 0)
            break;
        handle(std::span(chunk).first(filled), first);
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
double bestOf(int runs, const std::function<void()>& run) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

double bestScan(int runs, const std::string& path, const ChunkHandler& handle) {
    return bestOf(runs, [&] { timeScan(path, handle); });
}

bool sameTally(const VerifyTally& a, const VerifyTally& b) {
    return a.sectorsOfKind == b.sectorsOfKind && a.badOfKind == b.badOfKind &&
           a.badSectors == b.badSectors && a.firstBadSectors == b.firstBadSectors;
}

void printTally(const char* what, const VerifyTally& tally) {
    std::int64_t checked = 0;
    for (const std::int64_t count : tally.sectorsOfKind) checked += count;
    std::printf("%s %lld sectors checked, %lld of them Mode 2 Form 1, %lld bad\n", what,
                static_cast<long long>(checked),
                static_cast<long long>(tally.count(SectorKind::Mode2Form1)),
                static_cast<long long>(tally.badSectors));
}

void printRow(const std::string& what, double seconds, double read, double reference = 0) {
    std::printf("%-26s %7.3f s   /read %6.2f", what.c_str(), seconds, seconds / read);
    if (reference > 0)
        std::printf("   reference/this %6.1f", reference / seconds);
    std::printf("\n");
}

// What tavrel-tool runs on `checksums`: verify, and fix-checksums --all's search for repairs,
// each on an image opened and locked; then the checks alone on one thread, chunk after chunk.
VerifyTally timePath(const std::string& path, ChecksumPath checksums, double read,
                     double reference) {
    const std::string name = checksumPathName(checksums);
    const WalkOptions options{checksums};
    VerifyTally tally;
    const double verify = bestOf(
        kRuns, [&] { tally = verifyImage(ImageFile(path, ImageAccess::ReadOnly), {}, options); });
    std::int64_t repairs = 0;
    const double repair = bestOf(kRuns, [&] {
        findRepairs(
            ImageFile(path, ImageAccess::ReadOnly),
            [&](ChunkRepairs&& chunk) {
                repairs += static_cast<std::int64_t>(chunk.repairs.size());
            },
            {}, options);
    });
    VerifyTally ignored;
    const double single = bestScan(
        2, path, [&](auto bytes, auto first) { verifySectors(bytes, first, ignored, checksums); });
    printRow("verify, " + name, verify, read, reference);
    printRow("repairs (" + std::to_string(repairs) + "), " + name, repair, read);
    printRow("one thread, " + name, single, read, reference);
    return tally;
}

// tavrel-tool info's one pass over the file (CRC32, MD5 and SHA-1 side by side) against 1 GB/s;
// and MD5 alone over the same reads on one thread: the slowest of the three, it bounds the pass.
void timeDigests(const std::string& path, double read) {
    const double bytes = static_cast<double>(kSectors * kRawSectorSize);
    const double all =
        bestOf(kRuns, [&] { digestFile(ImageFile(path, ImageAccess::ReadOnly)); });
    const double md5 = bestOf(2, [&] {
        sys::Digest digest(sys::DigestKind::Md5);
        timeScan(path, [&](auto chunk, auto) { digest.update(chunk); });
        digest.finish();
    });
    printRow("info's CRC32, MD5, SHA-1", all, read);
    printRow("MD5 alone, one thread", md5, read);
    std::printf("info's digests: %.2f GB/s (aim: 1 GB/s); MD5, one serial stream that bounds "
                "them, read and hashed on one thread: %.2f GB/s\n",
                bytes / all / 1e9, bytes / md5 / 1e9);
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
        const std::vector<ChecksumPath> paths = runnableChecksumPaths();
        std::printf("image: %lld sectors, %.1f MB, in %s; %u cores; the program's path: %s\n",
                    static_cast<long long>(kSectors),
                    static_cast<double>(kSectors * kRawSectorSize) / 1e6, folder.c_str(),
                    std::thread::hardware_concurrency(), checksumPathName(activeChecksumPath()));
        const double read = bestScan(kRuns, path, [](auto, auto) {});
        VerifyTally byReference;
        const double reference =
            bestScan(1, path, [&](auto bytes, auto) { referenceVerify(bytes, byReference); });
        printRow("read", read, read);
        std::vector<VerifyTally> tallies;
        for (auto checksums = paths.rbegin(); checksums != paths.rend(); ++checksums)
            tallies.push_back(timePath(path, *checksums, read, reference));
        printRow("reference, one thread", reference, read);
        timeDigests(path, read);
        bool same = byReference.badSectors == tallies.front().badSectors &&
                    byReference.sectorsOfKind == tallies.front().sectorsOfKind;
        for (const VerifyTally& tally : tallies) same = same && sameTally(tally, tallies.front());
        printTally(same ? "verify, every path and the reference alike:"
                        : "verify: THE PATHS OR THE REFERENCE DIFFER; first path:",
                   tallies.front());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "verify_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
