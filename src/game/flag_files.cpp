// Flag files: the first line of a chosen file, read without trusting it, and a whole file
// written so that it is either complete or not there.
#include "game/flag_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <vector>

#include "image/file_error.h"
#include "image/write_all.h"

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

void writeFilesAtomically(const std::string& folder, const std::vector<NewFile>& files) {
    std::vector<std::string> temporaries;
    const auto fail = [&](FileFailure failure, const std::string& path) {
        FileError error(failure, path, errno);
        for (const std::string& temporary : temporaries) ::unlink(temporary.c_str());
        throw error;
    };
    for (const NewFile& file : files) {
        // A short name of its own, so that a target name near the system's limit still fits;
        // O_EXCL refuses the unlikely name that is already taken.
        temporaries.push_back(folder + "/.tavrel-" + std::to_string(::getpid()) + "-" +
                              std::to_string(std::random_device{}()) + ".tmp");
        Descriptor out(
            ::open(temporaries.back().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (out.get() < 0) {
            temporaries.pop_back();
            fail(FileFailure::FileCreateFailed, folder + "/" + file.name);
        }
        const auto* content = reinterpret_cast<const std::uint8_t*>(file.content.data());
        if (!writeAllAt(out.get(), {content, file.content.size()}, 0) || !out.closeChecked())
            fail(FileFailure::FileWriteFailed, folder + "/" + file.name);
    }
    // One sync for all the files' content, before any of them takes its name.
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0 || ::syncfs(directory.get()) != 0)
        fail(FileFailure::FileWriteFailed, folder + "/" + files.front().name);
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (::rename(temporaries[i].c_str(), (folder + "/" + files[i].name).c_str()) != 0) {
            temporaries.erase(temporaries.begin(), temporaries.begin() + static_cast<long>(i));
            fail(FileFailure::FileCreateFailed, folder + "/" + files[i].name);
        }
    }
    // The new names are on the disk only once the folder is. Some file systems cannot sync a
    // folder (EINVAL): there the renames are as durable as they get.
    if (::fsync(directory.get()) != 0 && errno != EINVAL)
        throw FileError(FileFailure::FileCompleteFailed, folder + "/" + files.back().name, errno);
}

}  // namespace tavrel
