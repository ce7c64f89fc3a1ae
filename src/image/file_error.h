// The one error of image and file access, as facts: what was attempted, on which file, at which
// offset, how many bytes were needed and how large the file is, and the system's reason. Front
// ends word it (editor/messages.h for the window, tool/ for the command line).
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "image/raw_geometry.h"

namespace tavrel {

using Bytes = std::vector<std::uint8_t>;

enum class FileFailure {
    // The image.
    AccessRefused,     // no write access (file mode, medium), or another editor holds the image
    OpenFailed,        // any other reason the image could not be opened
    NotAFile,          // a folder, pipe or device
    MeasureFailed,     // the image's size could not be asked
    TooShort,          // `count` bytes at `offset` lie past the end of a file of `fileSize` bytes
    ReadFailed,        // at `offset`
    WriteFailed,       // at `offset`; see `restore`
    SyncFailed,        // the disk did not confirm the writes; see `restore`
    NotRawImage,       // a 2048-byte-sector (ISO) image: the game's offsets do not apply
    ChangedElsewhere,  // at `offset` the image holds neither a logged change's old nor its new
                       // bytes: another program changed it, so the change is not taken back
    // Other files (flag files).
    FileOpenFailed,
    FileNotPlain,  // not a regular file
    FileReadFailed,
    FileCreateFailed,    // could not be created, or not put in place of the old one
    FileWriteFailed,     // its content could not be written; nothing is left behind
    FileCompleteFailed,  // its folder could not be synced
};

// What became of the image after a failed write: the places written before the failure are
// written back with their old bytes.
enum class Restore {
    NotNeeded,    // the failure came before any byte was written
    Restored,     // every place holds its old bytes again, and that is on the disk
    NotRestored,  // `unrestored` lists the bytes that may still hold new values
};

class FileError : public std::exception {
public:
    FileError(FileFailure failure, std::string path, int systemError = 0)
        : failure(failure), path(std::move(path)), systemError(systemError) {}

    FileFailure failure;
    std::string path;
    int systemError = 0;  // errno; 0 when the failure is not the system's
    std::int64_t offset = -1;
    std::int64_t count = 0;
    std::int64_t fileSize = -1;
    Restore restore = Restore::NotNeeded;
    std::vector<ByteRun> unrestored;

    // A plain English account, for logs and for failures no front end expected.
    const char* what() const noexcept override;
    // The system's own text for `systemError`.
    std::string systemReason() const;

private:
    mutable std::string what_;
};

// "0xDB3F7C": an image offset as modders read it in a hex editor.
std::string hexOffset(std::int64_t offset);
// "0x1D6F39, 0xBF7F4E–0xBF7F67": runs of bytes, by their first and last offsets.
std::string hexRuns(const std::vector<ByteRun>& runs);

}  // namespace tavrel
