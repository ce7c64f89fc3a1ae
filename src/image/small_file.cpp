// Flag files: the first line of a chosen file, read without trusting it, and a whole file
// written so that it is either complete or not there.
#include "image/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "image/file_error.h"

namespace tavrel {
namespace {

// Closes the descriptor on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool closeChecked() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t put = ::write(fd, content.data() + done, content.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace

std::string readFirstLine(const std::string& path, std::size_t maxBytes) {
    // Non-blocking, so that a pipe or device chosen by mistake cannot stall the window before
    // it is refused as not a plain file.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        throw FileError(FileFailure::FileOpenFailed, path, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw FileError(FileFailure::FileNotPlain, path);
    std::string text(maxBytes, '\0');
    std::size_t done = 0;
    while (done < maxBytes) {
        const ssize_t got = ::read(file.get(), text.data() + done, maxBytes - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw FileError(FileFailure::FileReadFailed, path, errno);
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    text.resize(done);
    return text.substr(0, text.find_first_of("\r\n"));
}

void replaceFileAtomically(const std::string& path, const std::string& content) {
    // A short name of its own, so that a target name near the system's limit still fits;
    // O_EXCL below refuses the unlikely name that is already taken.
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    const std::string temporary = folder + ".tavrel-" + std::to_string(::getpid()) + "-" +
                                  std::to_string(std::random_device{}()) + ".tmp";
    const auto fail = [&](FileFailure failure) {
        FileError error(failure, path, errno);
        ::unlink(temporary.c_str());
        throw error;
    };
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.get() < 0)
        fail(FileFailure::FileCreateFailed);
    if (!writeAll(file.get(), content) || ::fsync(file.get()) != 0 || !file.closeChecked())
        fail(FileFailure::FileWriteFailed);
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        fail(FileFailure::FileCreateFailed);
    // The new name is on the disk only once the folder is.
    Descriptor directory(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems cannot sync a folder (EINVAL): there the rename is as durable as it gets.
    if (directory.get() < 0 || (::fsync(directory.get()) != 0 && errno != EINVAL))
        throw FileError(FileFailure::FileCompleteFailed, path, errno);
}

}  // namespace tavrel
