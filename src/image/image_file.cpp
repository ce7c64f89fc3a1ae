// The POSIX calls of image access live in this file only.
#include "image/image_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "image/write_all.h"

namespace tavrel {
namespace {

bool isRefusal(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// What a failed flock means for opening an image.
enum class LockOutcome {
    Locked,         // this editor holds the image
    HeldElsewhere,  // another editor (or the command-line tool) holds it: refused
    Unsupported,    // the file system cannot lock (some network and FUSE ones): open anyway
    Failed,         // anything else: the image is not opened
};

LockOutcome lockOutcome(int flockError) {
    switch (flockError) {
        case 0:
            return LockOutcome::Locked;
        case EWOULDBLOCK:
            return LockOutcome::HeldElsewhere;
        case ENOLCK:
        case EOPNOTSUPP:
        case ENOSYS:
            return LockOutcome::Unsupported;
        default:
            return LockOutcome::Failed;
    }
}

}  // namespace

ImageFile::ImageFile(const std::string& path, ImageAccess access) : path_(path) {
    const bool writing = access == ImageAccess::ReadWrite;
    const int fd = ::open(path.c_str(), (writing ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) {
        const int reason = errno;
        throw error(isRefusal(reason) ? FileFailure::AccessRefused : FileFailure::OpenFailed,
                    reason);
    }
    struct stat info {};
    FileFailure refusal = FileFailure::NotAFile;
    int reason = 0;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        reason = ::flock(fd, (writing ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0 ? 0 : errno;
        switch (lockOutcome(reason)) {
            case LockOutcome::Locked:
            case LockOutcome::Unsupported:
                if (!writing || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0) {
                    fd_ = fd;
                    return;
                }
                refusal = FileFailure::AccessRefused;
                reason = EACCES;
                break;
            case LockOutcome::HeldElsewhere:
                refusal = FileFailure::AccessRefused;
                break;
            case LockOutcome::Failed:
                refusal = FileFailure::OpenFailed;
                break;
        }
    }
    ::close(fd);  // also drops a lock taken above
    throw error(refusal, reason);
}

ImageFile::~ImageFile() {
    ::close(fd_);
}

FileError ImageFile::error(FileFailure failure, int systemError, std::int64_t offset) const {
    FileError e(failure, path_, systemError);
    e.offset = offset;
    return e;
}

std::int64_t ImageFile::size() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        throw error(FileFailure::MeasureFailed, errno);
    return info.st_size;
}

void ImageFile::requireInside(std::int64_t offset, std::int64_t count) const {
    const std::int64_t fileSize = size();
    if (offset < 0 || count < 0 || offset + count > fileSize) {
        FileError e = error(FileFailure::TooShort, 0, offset);
        e.count = count;
        e.fileSize = fileSize;
        throw e;
    }
}

Bytes ImageFile::read(std::int64_t offset, std::size_t count) const {
    Bytes buffer(count);
    readInto(offset, buffer);
    return buffer;
}

std::vector<Bytes> ImageFile::read(std::span<const ByteRun> places) const {
    // Places closer than this share one read: a call costs more than the bytes between them.
    constexpr std::int64_t kNear = 4096;
    std::vector<std::size_t> order(places.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return places[a].offset < places[b].offset; });
    std::vector<Bytes> bytes(places.size());
    for (std::size_t first = 0; first < order.size();) {
        const std::int64_t start = places[order[first]].offset;
        std::int64_t end = start;
        std::size_t last = first;
        for (; last < order.size() && places[order[last]].offset <= end + kNear; ++last)
            end = std::max(end, places[order[last]].offset + places[order[last]].length);
        if (end > size()) {
            // Past the end: the first place that does not fit names what is missing.
            for (; first < last; ++first)
                requireInside(places[order[first]].offset, places[order[first]].length);
        }
        const Bytes span = read(start, static_cast<std::size_t>(end - start));
        for (; first < last; ++first) {
            const ByteRun& place = places[order[first]];
            const auto from = span.begin() + (place.offset - start);
            bytes[order[first]].assign(from, from + place.length);
        }
    }
    return bytes;
}

void ImageFile::readInto(std::int64_t offset, std::span<std::uint8_t> buffer) const {
    if (offset < 0)
        requireInside(offset, static_cast<std::int64_t>(buffer.size()));
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got = ::pread(fd_, buffer.data() + done, buffer.size() - done,
                                    static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got == 0)  // the end of the file: the size says how much was missing
            requireInside(offset, static_cast<std::int64_t>(buffer.size()));
        if (got <= 0)
            throw error(FileFailure::ReadFailed, got < 0 ? errno : 0, offset);
        done += static_cast<std::size_t>(got);
    }
}

void ImageFile::write(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return;
    requireInside(offset, static_cast<std::int64_t>(bytes.size()));
    if (!writeAllAt(fd_, bytes, offset))
        throw error(FileFailure::WriteFailed, errno, offset);
}

void ImageFile::sync() {
    if (::fdatasync(fd_) != 0)
        throw error(FileFailure::SyncFailed, errno);
}

}  // namespace tavrel
