// The one open game image: positioned reads and writes at 0-based offsets, never past the end
// of the file, and a sync that hands everything written to the disk.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/file_error.h"
#include "image/raw_geometry.h"
#include "platform/platform.h"

namespace tavrel {

enum class ImageAccess {
    ReadWrite,  // exclusive lock: no other editor or tool may have the image open
    ReadOnly,   // shared lock: other readers are welcome, a writer is not
};

class ImageFile {
public:
    // Opens `path` and locks it, so that a second editor cannot write the same image while
    // this one has it. For writing, a file that says it must not be written (no write
    // permission bit at all, or the read-only attribute) is refused also where the system
    // would let the caller write it (root). Throws FileError: Held, AccessRefused, NotAFile
    // or OpenFailed.
    explicit ImageFile(const std::string& path, ImageAccess access = ImageAccess::ReadWrite);

    const std::string& path() const { return path_; }
    ImageAccess access() const { return access_; }
    // Which file this is, whatever name opened it.
    sys::FileIdentity identity() const;

    // Current size of the file in bytes (asked of the system each time, never cached).
    std::int64_t size() const;

    // Throws FileError TooShort unless `count` bytes from `offset` on lie inside the file.
    void requireInside(std::int64_t offset, std::int64_t count) const;

    // Exactly `count` bytes at `offset`; a read past the end is an error.
    Bytes read(std::int64_t offset, std::size_t count) const;
    // The bytes of each place, in the order given; places near each other are read in one call.
    std::vector<Bytes> read(std::span<const ByteRun> places) const;
    void readInto(std::int64_t offset, std::span<std::uint8_t> buffer) const;

    // Overwrites bytes in place; a write that would pass the end of the file fails before
    // writing anything. An empty sequence writes nothing. Only for ReadWrite.
    void write(std::int64_t offset, std::span<const std::uint8_t> bytes);

    // Hands all writes to the disk; called before any success is reported.
    void sync();

private:
    FileError error(FileFailure failure, const sys::Status& status, std::int64_t offset = -1) const;

    std::string path_;
    ImageAccess access_;
    sys::File file_;
};

}  // namespace tavrel
