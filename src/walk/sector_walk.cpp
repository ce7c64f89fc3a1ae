// The chunked walk over an image's sectors.
#include "walk/sector_walk.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <numeric>
#include <thread>

#include "image/image_file.h"

namespace tavrel {
namespace {

unsigned workerCount(const WalkOptions& options) {
    return options.workers > 0 ? options.workers
                               : std::max(1u, std::thread::hardware_concurrency());
}

// A worker's chunk as read.
struct ChunkBuffer {
    std::vector<std::uint8_t> bytes;
    std::vector<std::int64_t> numbers;

    SectorChunk chunk() const { return {bytes, numbers}; }
};

// The threads of one walk. Each claims the next chunk, reads and checks it, and claims another,
// so that every core reads and checks and a chunk stays in the cache of the core that read it.
// A chunk is claimed only once its slot is free: no more than `slots` chunks wait to be taken.
class ChunkWorkers {
public:
    ChunkWorkers(unsigned count, std::int64_t chunks, std::size_t slots,
                 std::function<void(std::int64_t chunk, ChunkBuffer& buffer)> work)
        : work_(std::move(work)), chunks_(chunks), checked_(slots, false), failures_(slots) {
        try {
            for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { run(); });
        } catch (...) {
            stop();
            throw;
        }
    }

    ~ChunkWorkers() { stop(); }

    ChunkWorkers(const ChunkWorkers&) = delete;
    ChunkWorkers& operator=(const ChunkWorkers&) = delete;

    // Waits for the oldest chunk not yet taken; rethrows what its reading or check threw.
    void awaitOldest() {
        std::unique_lock lock(mutex_);
        const std::size_t slot = slotOf(taken_);
        anyChecked_.wait(lock, [&] { return static_cast<bool>(checked_[slot]); });
        if (failures_[slot])
            std::rethrow_exception(std::exchange(failures_[slot], nullptr));
    }

    // The oldest chunk was taken: its slot is free for a later one.
    void tookOldest() {
        {
            const std::lock_guard lock(mutex_);
            checked_[slotOf(taken_++)] = false;
        }
        claimable_.notify_all();
    }

private:
    // A worker amid a chunk finishes it first; chunks not begun are dropped.
    void stop() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        claimable_.notify_all();
        for (std::thread& thread : threads_) thread.join();
    }

    std::size_t slotOf(std::int64_t chunk) const {
        return static_cast<std::size_t>(chunk % static_cast<std::int64_t>(checked_.size()));
    }

    void run() {
        ChunkBuffer buffer;
        std::unique_lock lock(mutex_);
        for (;;) {
            const auto slots = static_cast<std::int64_t>(checked_.size());
            claimable_.wait(lock, [&] { return stopping_ || next_ < taken_ + slots; });
            if (stopping_ || next_ == chunks_)
                return;
            const std::int64_t chunk = next_++;
            lock.unlock();
            std::exception_ptr failure;
            try {
                work_(chunk, buffer);
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            failures_[slotOf(chunk)] = failure;
            checked_[slotOf(chunk)] = true;
            anyChecked_.notify_one();
        }
    }

    const std::function<void(std::int64_t, ChunkBuffer&)> work_;
    const std::int64_t chunks_;
    std::mutex mutex_;
    std::condition_variable claimable_;
    std::condition_variable anyChecked_;
    std::int64_t next_ = 0;
    std::int64_t taken_ = 0;
    std::vector<char> checked_;  // by slot; not vector<bool>, whose elements share bytes
    std::vector<std::exception_ptr> failures_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// Listed sectors that follow one another are read in one call.
void readListed(const ImageFile& file, ChunkBuffer& buffer) {
    const std::span<std::uint8_t> bytes(buffer.bytes);
    for (std::size_t i = 0, end; i < buffer.numbers.size(); i = end) {
        for (end = i + 1; end < buffer.numbers.size(); ++end) {
            if (buffer.numbers[end] != buffer.numbers[end - 1] + 1)
                break;
        }
        file.readInto(buffer.numbers[i] * kRawSectorSize,
                      bytes.subspan(i * kRawSectorSize, (end - i) * kRawSectorSize));
    }
}

void readChunk(const ImageFile& file, SectorList sectors, std::int64_t first, std::int64_t count,
               ChunkBuffer& buffer) {
    buffer.numbers.resize(static_cast<std::size_t>(count));
    buffer.bytes.resize(static_cast<std::size_t>(count * kRawSectorSize));
    if (sectors) {
        const auto listed =
            sectors->subspan(static_cast<std::size_t>(first), buffer.numbers.size());
        std::copy(listed.begin(), listed.end(), buffer.numbers.begin());
        readListed(file, buffer);
    } else {
        std::iota(buffer.numbers.begin(), buffer.numbers.end(), first);
        file.readInto(first * kRawSectorSize, buffer.bytes);
    }
}

}  // namespace

std::size_t walkSlots(const WalkOptions& options) {
    // Room for every worker to finish a chunk and begin the next while the oldest is taken.
    return 2 * std::size_t{workerCount(options)} + 1;
}

std::int64_t walkLength(const ImageFile& file, SectorList sectors) {
    return sectors ? static_cast<std::int64_t>(sectors->size()) : file.size() / kRawSectorSize;
}

void walkSectors(const ImageFile& file, SectorList sectors, const WalkOptions& options,
                 const WalkSteps& steps, const VerifyProgress& progress) {
    const std::int64_t total = walkLength(file, sectors);
    const std::int64_t perChunk = std::max<std::int64_t>(options.chunkSectors, 1);
    const std::int64_t chunks = (total + perChunk - 1) / perChunk;
    const std::size_t slots = walkSlots(options);
    const auto slotOf = [&](std::int64_t chunk) {
        return static_cast<std::size_t>(chunk % static_cast<std::int64_t>(slots));
    };
    const auto sizeOf = [&](std::int64_t chunk) {
        return std::min(perChunk, total - chunk * perChunk);
    };
    ChunkWorkers workers(
        static_cast<unsigned>(std::min<std::int64_t>(workerCount(options), chunks)), chunks, slots,
        [&](std::int64_t chunk, ChunkBuffer& buffer) {
            readChunk(file, sectors, chunk * perChunk, sizeOf(chunk), buffer);
            steps.check(slotOf(chunk), buffer.chunk());
        });
    std::int64_t done = 0;
    for (std::int64_t chunk = 0; chunk < chunks; ++chunk) {
        workers.awaitOldest();
        steps.take(slotOf(chunk));
        workers.tookOldest();
        done += sizeOf(chunk);
        if (progress)
            progress(done, total);
    }
}

}  // namespace tavrel
