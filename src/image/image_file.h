// The one open game image: positioned reads and writes at 1-based positions, never past the
// end of the file, and a sync that hands everything written to the disk.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/byte_text.h"

namespace tavrel {

class ImageFile {
public:
    ImageFile() = default;
    ~ImageFile();
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    // Opens `path` for reading and writing and takes an exclusive lock on it, so that a second
    // editor cannot write the same image. Throws AccessRefused when the system refuses write
    // access or the lock is held elsewhere, IoError for any other failure. Must not be open.
    void open(const std::string& path);
    void close() noexcept;
    bool isOpen() const { return fd_ >= 0; }

    // Current size of the file in bytes (asked of the system each time, never cached).
    std::int64_t size() const;

    // Throws IoError, naming the missing bytes, unless `count` bytes from `position` on lie
    // inside the file. Writers call it for every place before their first write.
    void requireInside(std::int64_t position, std::int64_t count) const;

    // Reads exactly `count` bytes at 1-based `position`; a read past the end is an error.
    Bytes read(std::int64_t position, std::size_t count) const;

    // Overwrites bytes in place from 1-based `position` on; a write that would pass the end of
    // the file fails before writing anything. An empty sequence writes nothing.
    void write(std::int64_t position, std::span<const std::uint8_t> bytes);

    // Hands all writes to the disk; called before any success is reported.
    void sync();

private:
    void requireOpen() const;

    int fd_ = -1;
};

}  // namespace tavrel
