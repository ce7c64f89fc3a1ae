// The platform's files on Linux and other POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "platform/platform_outcome.h"

namespace tavrel::sys {
namespace {

// clang-format off
constexpr OutcomeCodes<int> kOutcomes[] = {
    {Outcome::NotFound, {ENOENT, ENOTDIR}},
    {Outcome::Refused, {EACCES, EPERM, EROFS, ETXTBSY}},
    {Outcome::Held, {EWOULDBLOCK}},
    {Outcome::NoLocks, {ENOLCK, EOPNOTSUPP, ENOSYS}},
    {Outcome::NotRegular, {EISDIR, ENXIO}},
    {Outcome::Exists, {EEXIST}},
};
// clang-format on

Status lastError() {
    const int error = errno;
    return {outcomeOf(kOutcomes, error), error};
}

Status checked(int result) {
    return result == 0 ? Status{} : lastError();
}

int fdOf(std::intptr_t handle) {
    return static_cast<int>(handle);
}

// Opens without ever waiting on a pipe, then keeps the descriptor only for a plain file.
Status openPlain(const std::string& path, int flags, std::intptr_t& handle) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return lastError();
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {Outcome::NotRegular, 0};
    }
    handle = fd;
    return {};
}

// Moves `size` bytes through `call(done)`, a pread or pwrite of what is left after `done`,
// however many calls that takes and however often a signal interrupts them; EndOfFile when a
// call moves nothing.
template <typename Call>
Status moveAll(std::size_t size, std::size_t& done, Call call) {
    done = 0;
    while (done < size) {
        const ssize_t moved = call(done);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            return lastError();
        if (moved == 0)
            return {Outcome::EndOfFile, 0};
        done += static_cast<std::size_t>(moved);
    }
    return {};
}

// Runs `call` on the folder opened as a descriptor; the status of the opening, or of the call.
template <typename Call>
Status onFolder(const std::string& folder, Call call) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return lastError();
    const Status status = call(fd) ? Status{} : lastError();
    ::close(fd);
    return status;
}

}  // namespace

std::string describe(int code) {
    return std::strerror(code);
}

File::~File() {
    if (isOpen())
        ::close(fdOf(handle_));
}

File::File(File&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (isOpen())
            ::close(fdOf(handle_));
        handle_ = other.handle_;
        other.handle_ = -1;
    }
    return *this;
}

Status File::open(const std::string& path, Access access, File& file) {
    file = File();
    return openPlain(path, access == Access::ReadWrite ? O_RDWR : O_RDONLY, file.handle_);
}

Status File::create(const std::string& path, File& file) {
    file = File();
    return openPlain(path, O_RDWR | O_CREAT | O_EXCL, file.handle_);
}

bool File::isOpen() const {
    return handle_ >= 0;
}

Status File::lock(LockKind kind) {
    return checked(
        ::flock(fdOf(handle_), (kind == LockKind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB));
}

bool File::writeProtected() const {
    struct stat info {};
    return ::fstat(fdOf(handle_), &info) == 0 &&
           (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

Status File::size(std::int64_t& bytes) const {
    struct stat info {};
    if (::fstat(fdOf(handle_), &info) != 0)
        return lastError();
    bytes = info.st_size;
    return {};
}

Status File::identity(FileIdentity& identity) const {
    struct stat info {};
    if (::fstat(fdOf(handle_), &info) != 0)
        return lastError();
    identity = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    return {};
}

Status File::readAt(std::int64_t offset, std::span<std::uint8_t> buffer, std::size_t& got) const {
    return moveAll(buffer.size(), got, [&](std::size_t done) {
        return ::pread(fdOf(handle_), buffer.data() + done, buffer.size() - done,
                       static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    });
}

Status File::writeAt(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    const Status status = moveAll(bytes.size(), done, [&](std::size_t from) {
        return ::pwrite(fdOf(handle_), bytes.data() + from, bytes.size() - from,
                        static_cast<off_t>(offset + static_cast<std::int64_t>(from)));
    });
    // A write that takes nothing gives no reason: no end of file, just a failure.
    return status.outcome == Outcome::EndOfFile ? Status{Outcome::Failed, 0} : status;
}

Status File::syncData() {
    return checked(::fdatasync(fdOf(handle_)));
}

Status File::truncate(std::int64_t size) {
    return checked(::ftruncate(fdOf(handle_), static_cast<off_t>(size)));
}

Status File::close() {
    const int fd = fdOf(handle_);
    handle_ = -1;
    return checked(::close(fd));
}

Status inspect(const std::string& path, PathInfo& info) {
    info = {};
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Status{} : lastError();
    info.kind = S_ISREG(status.st_mode)   ? PathKind::File
                : S_ISDIR(status.st_mode) ? PathKind::Folder
                                          : PathKind::Other;
    info.identity = {static_cast<std::uint64_t>(status.st_dev),
                     static_cast<std::uint64_t>(status.st_ino)};
    return {};
}

std::string resolved(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    std::string result(real);
    std::free(real);
    return result;
}

Status replace(const std::string& from, const std::string& to) {
    return checked(::rename(from.c_str(), to.c_str()));
}

Status remove(const std::string& path) {
    return checked(::unlink(path.c_str()));
}

Status listFolder(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    DIR* entries = ::opendir(folder.c_str());
    if (entries == nullptr)
        return lastError();
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(entries);
    return {};
}

Status syncContent(const std::string& folder, std::span<File>) {
    return onFolder(folder, [](int fd) { return ::syncfs(fd) == 0; });
}

Status syncFolder(const std::string& folder) {
    // Some file systems cannot sync a folder (EINVAL): there the names are as durable as they get.
    return onFolder(folder, [](int fd) { return ::fsync(fd) == 0 || errno == EINVAL; });
}

int processId() {
    return static_cast<int>(::getpid());
}

bool processRuns(int id) {
    return id > 0 && (::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH);
}

bool errorIsTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

bool outputIsTerminal() {
    return ::isatty(STDOUT_FILENO) != 0;
}

std::vector<std::string> arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

void useUtf8Console() {}

}  // namespace tavrel::sys
