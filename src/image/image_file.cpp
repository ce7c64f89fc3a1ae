// The POSIX calls of image access live in this file only.
#include "image/image_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "image/image_error.h"

namespace tavrel {
namespace {

std::string systemReason(int error) {
    return std::strerror(error);
}

// Offsets in messages are 0-based, as a hex editor shows them.
std::string where(std::int64_t position) {
    return "offset " + hexOffset(position - 1);
}

bool isRefusal(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

}  // namespace

std::string hexOffset(std::int64_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
    return text;
}

ImageFile::~ImageFile() {
    close();
}

void ImageFile::open(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        const std::string text = "Impossibile aprire \"" + path + "\": " + systemReason(error);
        if (isRefusal(error))
            throw AccessRefused(text);
        throw IoError(text);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw IoError("\"" + path + "\" non è un file immagine.");
    }
    // Another editor holding this image would overwrite our writes with its own: refuse it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        const std::string text = "Impossibile bloccare \"" + path + "\": " + systemReason(error);
        if (error == EWOULDBLOCK)
            throw AccessRefused(text);
        throw IoError(text);
    }
    fd_ = fd;
}

void ImageFile::close() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);  // also drops the lock
        fd_ = -1;
    }
}

void ImageFile::requireOpen() const {
    if (fd_ < 0) {
        throw IoError("Nessuna immagine CD aperta: aprine una con \"Apri Image CD\".");
    }
}

std::int64_t ImageFile::size() const {
    requireOpen();
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        throw IoError("Impossibile leggere la dimensione dell'immagine: " + systemReason(errno));
    }
    return info.st_size;
}

void ImageFile::requireInside(std::int64_t position, std::int64_t count) const {
    const std::int64_t fileSize = size();
    if (position < 1 || count < 0 || position - 1 + count > fileSize) {
        throw IoError("L'immagine CD è troppo corta: servono " + std::to_string(count) +
                      " byte a " + where(position) + ", il file ne ha " + std::to_string(fileSize) +
                      ". Non è un'immagine completa del gioco.");
    }
}

Bytes ImageFile::read(std::int64_t position, std::size_t count) const {
    requireInside(position, static_cast<std::int64_t>(count));
    Bytes buffer(count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, buffer.data() + done, count - done,
                                    static_cast<off_t>(position - 1 + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            const std::string reason = got < 0 ? systemReason(errno) : "fine del file";
            throw IoError("Lettura dell'immagine non riuscita a " + where(position) + ": " +
                          reason + ".");
        }
        done += static_cast<std::size_t>(got);
    }
    return buffer;
}

void ImageFile::write(std::int64_t position, std::span<const std::uint8_t> bytes) {
    requireOpen();
    if (bytes.empty())
        return;
    requireInside(position, static_cast<std::int64_t>(bytes.size()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(position - 1 + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            const std::string reason = put < 0 ? systemReason(errno) : "nessun byte scritto";
            throw IoError("Scrittura dell'immagine non riuscita a " + where(position) + ": " +
                          reason + ".");
        }
        done += static_cast<std::size_t>(put);
    }
}

void ImageFile::sync() {
    requireOpen();
    if (::fdatasync(fd_) != 0) {
        throw IoError("Impossibile completare la scrittura dell'immagine su disco: " +
                      systemReason(errno) + ".");
    }
}

}  // namespace tavrel
