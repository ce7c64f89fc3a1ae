// The one error of file access, as facts: which file (its role and path), what went wrong, at
// which offset, how many bytes were needed and how large the file is, and the system's own
// code. Front ends word it (editor/messages.h for the window, tool/ for the command line).
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "image/container_kind.h"
#include "image/cue_sheet.h"
#include "image/raw_geometry.h"

namespace tavrel {

namespace sys {
struct Status;
}

using Bytes = std::vector<std::uint8_t>;

// The file a failure concerns.
enum class FileRole {
    Image,      // the game image
    ChangeLog,  // the change log beside it
    FlagFile,   // a .flg file, read or written
    Plan,       // a plan of flags for the command line
    Patch,      // a patch file being written
    Picture,    // a picture of a flag being written
};

enum class FileFailure {
    Held,              // another editor or tool has the image open
    AccessRefused,     // no permission, a read-only file, medium or file system
    OpenFailed,        // any other reason the file could not be opened (it is missing, say)
    NotAFile,          // a folder, pipe or device
    TooLarge,          // more than a file of its role may hold (a plan over its limit)
    MeasureFailed,     // the file's size could not be asked
    TooShort,          // `count` bytes at `offset` lie past the end of a file of `fileSize` bytes
    ReadFailed,        // at `offset`
    WriteFailed,       // at `offset`; see `restore`
    SyncFailed,        // the disk did not confirm the writes; see `restore`
    CreateFailed,      // a new file could not be created, or not put in place of the old one
    NotRawImage,       // a container or cooked image (`container`): the game's offsets do not
                       // apply
    BadCueSheet,       // a .cue sheet that names no raw data track to open (`cue`)
    ChangedElsewhere,  // at `offset` the image holds neither a logged change's old nor its new
                       // bytes: another program changed it, so the change is not taken back
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
    FileError(FileFailure failure, FileRole role, std::string path, int systemError = 0)
        : failure(failure), role(role), path(std::move(path)), systemError(systemError) {}

    FileFailure failure;
    FileRole role;
    std::string path;
    int systemError = 0;  // the system's own code (errno, or a Windows error); 0 when none
    std::int64_t offset = -1;
    std::int64_t count = 0;
    std::int64_t fileSize = -1;
    Restore restore = Restore::NotNeeded;
    std::vector<ByteRun> unrestored;
    ContainerKind container = ContainerKind::None;
    CueFault cue;

    // A plain English account, for logs and for failures no front end expected.
    const char* what() const noexcept override;
    // The system's own words for `systemError`, empty when there is none.
    std::string systemReason() const;

private:
    mutable std::string what_;
};

// The error of a file that could not be opened: held, refused, not a plain file, or any other
// reason (OpenFailed).
FileError openError(const sys::Status& status, FileRole role, const std::string& path);

}  // namespace tavrel
