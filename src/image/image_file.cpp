// Image access over the platform's files.
#include "image/image_file.h"

#include <algorithm>
#include <vector>

namespace tavrel {

ImageFile::ImageFile(const std::string& path, ImageAccess access) : path_(path), access_(access) {
    const bool writing = access == ImageAccess::ReadWrite;
    sys::Status status =
        sys::File::open(path, writing ? sys::Access::ReadWrite : sys::Access::Read, file_);
    if (status.ok()) {
        status = file_.lock(writing ? sys::LockKind::Exclusive : sys::LockKind::Shared);
        // A file system that cannot lock at all (some network and FUSE ones) still opens.
        if (status.outcome == sys::Outcome::NoLocks)
            status = {};
    }
    if (status.ok() && writing && file_.writeProtected())
        status = {sys::Outcome::Refused, 0};
    if (!status.ok())
        throw openError(status, FileRole::Image, path);
}

sys::FileIdentity ImageFile::identity() const {
    sys::FileIdentity identity;
    if (const sys::Status status = file_.identity(identity); !status.ok())
        throw error(FileFailure::MeasureFailed, status);
    return identity;
}

FileError ImageFile::error(FileFailure failure, const sys::Status& status,
                           std::int64_t offset) const {
    FileError e(failure, FileRole::Image, path_, status.code);
    e.offset = offset;
    return e;
}

std::int64_t ImageFile::size() const {
    std::int64_t bytes = 0;
    if (const sys::Status status = file_.size(bytes); !status.ok())
        throw error(FileFailure::MeasureFailed, status);
    return bytes;
}

void ImageFile::requireInside(std::int64_t offset, std::int64_t count) const {
    const std::int64_t fileSize = size();
    if (offset < 0 || count < 0 || offset + count > fileSize) {
        FileError e = error(FileFailure::TooShort, {}, offset);
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
    std::size_t got = 0;
    const sys::Status status = file_.readAt(offset, buffer, got);
    if (status.outcome == sys::Outcome::EndOfFile)  // the size says how much was missing
        requireInside(offset, static_cast<std::int64_t>(buffer.size()));
    if (!status.ok())
        throw error(FileFailure::ReadFailed, status, offset);
}

void ImageFile::write(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return;
    requireInside(offset, static_cast<std::int64_t>(bytes.size()));
    if (const sys::Status status = file_.writeAt(offset, bytes); !status.ok())
        throw error(FileFailure::WriteFailed, status, offset);
}

void ImageFile::sync() {
    if (const sys::Status status = file_.syncData(); !status.ok())
        throw error(FileFailure::SyncFailed, status);
}

}  // namespace tavrel
