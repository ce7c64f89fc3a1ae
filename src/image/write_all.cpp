#include "image/write_all.h"

#include <unistd.h>

#include <cerrno>

namespace tavrel {

bool writeAllAt(int fd, std::span<const std::uint8_t> bytes, std::int64_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = 0;
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace tavrel
