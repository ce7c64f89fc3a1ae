// The change log's file: POSIX calls, and nothing about images.
#include "journal/change_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "image/write_all.h"

namespace tavrel {
namespace {

Bytes readAll(int fd) {
    Bytes content;
    std::uint8_t buffer[1 << 16];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {};
        content.insert(content.end(), buffer, buffer + got);
    }
    return content;
}

}  // namespace

ChangeLog::ChangeLog(const std::string& imagePath) : path_(pathFor(imagePath)) {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0 && errno == ENOENT)
        return;  // created at the first append
    if (fd_ < 0) {
        // A log that cannot be written can still tell what happened.
        fail(errno);
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0)
            return;
    }
    const Bytes content = readAll(fd_);
    if (content.size() < kLogHeader.size() ||
        !std::equal(kLogHeader.begin(), kLogHeader.end(), content.begin())) {
        // Not a log this program wrote, or one torn before its first record: nothing in it can
        // be trusted to describe the image, and nothing is lost by keeping it aside.
        if (!content.empty())
            setAside();
        return;
    }
    std::size_t at = kLogHeader.size();
    while (at < content.size()) {
        std::optional<ChangeRecord> record = decodeRecord(content, at);
        if (!record) {
            if (tornTail(content, at))
                tornAt_ = static_cast<std::int64_t>(at);
            else
                damaged_ = true;
            break;
        }
        records_.push_back(std::move(*record));
    }
    end_ = static_cast<std::int64_t>(at);
}

ChangeLog::~ChangeLog() {
    if (fd_ >= 0)
        ::close(fd_);
}

void ChangeLog::fail(int error) {
    usable_ = false;
    failure_ = error;
}

bool ChangeLog::openForWriting() {
    if (fd_ >= 0)
        return true;
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 || !writeAllAt(fd_, kLogHeader, 0)) {
        fail(errno);
        return false;
    }
    end_ = static_cast<std::int64_t>(kLogHeader.size());
    return true;
}

void ChangeLog::dropTornTail() {
    if (tornAt_ >= 0 && ::ftruncate(fd_, tornAt_) == 0)
        tornAt_ = -1;
}

bool ChangeLog::append(ChangeRecord& record) {
    if (!usable_ || !openForWriting())
        return false;
    record.sequence = records_.empty() ? 1 : records_.back().sequence + 1;
    record.time = std::time(nullptr);
    record.state = ChangeRecord::State::Pending;
    const Bytes bytes = encodeRecord(record);
    if (!writeAllAt(fd_, bytes, end_) || ::fdatasync(fd_) != 0) {
        const int error = errno;
        (void)::ftruncate(fd_, end_);  // a record that did not reach the disk is no record
        fail(error);
        return false;
    }
    record.stateOffset = end_ + static_cast<std::int64_t>(bytes.size()) - 1;
    lastStart_ = end_;
    end_ += static_cast<std::int64_t>(bytes.size());
    records_.push_back(record);
    return true;
}

void ChangeLog::completeLast() {
    const std::uint8_t done[1] = {static_cast<std::uint8_t>(ChangeRecord::State::Done)};
    if (writeAllAt(fd_, done, records_.back().stateOffset))
        records_.back().state = ChangeRecord::State::Done;
}

void ChangeLog::abortLast() {
    ChangeRecord& record = records_.back();
    const std::uint8_t aborted[1] = {static_cast<std::uint8_t>(ChangeRecord::State::Aborted)};
    if (writeAllAt(fd_, aborted, record.stateOffset) && ::fdatasync(fd_) == 0) {
        record.state = ChangeRecord::State::Aborted;
        return;
    }
    end_ = lastStart_;
    (void)::ftruncate(fd_, end_);
    (void)::fdatasync(fd_);
    records_.pop_back();
}

std::string ChangeLog::setAside() {
    std::string aside;
    struct stat info {};
    for (int n = 1; aside.empty() || ::stat(aside.c_str(), &info) == 0; ++n)
        aside = path_ + "." + std::to_string(n);
    if (::rename(path_.c_str(), aside.c_str()) != 0)
        aside.clear();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    records_.clear();
    tornAt_ = -1;
    damaged_ = false;
    end_ = 0;
    return aside;
}

}  // namespace tavrel
