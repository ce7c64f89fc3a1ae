// The digests' pass: the calling thread reads each piece and runs CRC32 and the sector kinds
// over it; two threads run MD5 and SHA-1 over the pieces in order. A piece's buffer is read
// into again only once every digest is past it.
#include "walk/file_digests.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "image/image_file.h"
#include "platform/digest.h"

namespace tavrel {
namespace {

// Whole sectors, about 4 MiB: large enough that a digest's call costs nothing beside its work.
constexpr std::int64_t kPieceSize = 1792 * kRawSectorSize;
constexpr std::size_t kPieces = 4;  // read ahead of the slowest digest by up to three

class Pipeline {
public:
    explicit Pipeline(std::size_t consumers) : done_(consumers, 0) {
        for (Bytes& piece : pieces_) piece.resize(kPieceSize);
    }

    // The buffer for piece `number`, once every consumer is past the piece that used it last.
    std::span<std::uint8_t> bufferFor(std::int64_t number) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
            return stopped_ || std::ranges::all_of(done_, [&](std::int64_t d) {
                       return number - d < static_cast<std::int64_t>(kPieces);
                   });
        });
        if (stopped_)  // a digest failed: its failure is the one to report
            throw std::runtime_error("the digests stopped");
        return pieces_[static_cast<std::size_t>(number) % kPieces];
    }
    void publish(std::int64_t length) {
        std::lock_guard lock(mutex_);
        lengths_[static_cast<std::size_t>(read_) % kPieces] = length;
        ++read_;
        changed_.notify_all();
    }
    // No more pieces: the last was published, or the reader failed.
    void stop() {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

    // Runs `consume` on every piece in order, as consumer `index`.
    void consume(std::size_t index,
                 const std::function<void(std::span<const std::uint8_t>)>& consume) {
        for (std::int64_t number = 0;; ++number) {
            std::span<const std::uint8_t> piece;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stopped_ || read_ > number; });
                if (read_ <= number)
                    return;
                const std::size_t slot = static_cast<std::size_t>(number) % kPieces;
                piece = std::span(pieces_[slot]).first(static_cast<std::size_t>(lengths_[slot]));
            }
            consume(piece);
            std::lock_guard lock(mutex_);
            done_[index] = number + 1;
            changed_.notify_all();
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::array<Bytes, kPieces> pieces_;
    std::array<std::int64_t, kPieces> lengths_{};
    std::int64_t read_ = 0;
    std::vector<std::int64_t> done_;
    bool stopped_ = false;
};

void rethrowFirst(const std::array<std::exception_ptr, 2>& failures) {
    for (const std::exception_ptr& failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
}

}  // namespace

FileDigests digestFile(const ImageFile& file, const VerifyProgress& progress) {
    FileDigests digests;
    sys::Digest md5(sys::DigestKind::Md5), sha1(sys::DigestKind::Sha1);
    Pipeline pipeline(2);
    std::array<std::exception_ptr, 2> failures;
    const auto digestThread = [&](std::size_t index, sys::Digest& digest) {
        return std::thread([&, index] {
            try {
                pipeline.consume(index, [&](auto piece) { digest.update(piece); });
            } catch (...) {
                failures[index] = std::current_exception();
                pipeline.stop();
            }
        });
    };
    std::array threads{digestThread(0, md5), digestThread(1, sha1)};
    const auto joinAll = [&] {
        pipeline.stop();
        for (std::thread& thread : threads) thread.join();
    };
    const std::int64_t size = file.size();
    uLong crc = crc32_z(0, nullptr, 0);
    try {
        for (std::int64_t at = 0, number = 0; at < size; at += kPieceSize, ++number) {
            const auto length = static_cast<std::size_t>(std::min(kPieceSize, size - at));
            const std::span<std::uint8_t> piece = pipeline.bufferFor(number).first(length);
            file.readInto(at, piece);
            pipeline.publish(static_cast<std::int64_t>(length));
            crc = crc32_z(crc, piece.data(), length);
            for (std::size_t s = 0; (s + 1) * kRawSectorSize <= length; ++s) {
                const RawSector sector = piece.subspan(s * kRawSectorSize).first<kRawSectorSize>();
                ++digests.kinds[static_cast<std::size_t>(sectorKind(sector))];
            }
            if (progress)
                progress(at + static_cast<std::int64_t>(length), size);
        }
    } catch (...) {
        joinAll();
        rethrowFirst(failures);
        throw;
    }
    joinAll();
    rethrowFirst(failures);
    digests.crc32 = static_cast<std::uint32_t>(crc);
    digests.md5 = md5.finish();
    digests.sha1 = sha1.finish();
    return digests;
}

}  // namespace tavrel
