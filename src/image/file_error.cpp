// The plain account of a FileError.
#include "image/file_error.h"

#include "platform/platform.h"

namespace tavrel {

std::string FileError::systemReason() const {
    return systemError != 0 ? sys::describe(systemError) : std::string();
}

const char* FileError::what() const noexcept {
    try {
        what_ = path;
        if (offset >= 0)
            what_ += " at offset " + std::to_string(offset);
        what_ += ": failure " + std::to_string(static_cast<int>(failure));
        if (systemError != 0)
            what_ += " (" + systemReason() + ")";
    } catch (...) {
        return "file error";
    }
    return what_.c_str();
}

FileError openError(const sys::Status& status, FileRole role, const std::string& path) {
    switch (status.outcome) {
        case sys::Outcome::Held:
            return FileError(FileFailure::Held, role, path, status.code);
        case sys::Outcome::Refused:
            return FileError(FileFailure::AccessRefused, role, path, status.code);
        case sys::Outcome::NotRegular:
            return FileError(FileFailure::NotAFile, role, path, status.code);
        case sys::Outcome::Done:
        case sys::Outcome::NotFound:
        case sys::Outcome::NoLocks:
        case sys::Outcome::Exists:
        case sys::Outcome::EndOfFile:
        case sys::Outcome::Failed:
            break;
    }
    return FileError(FileFailure::OpenFailed, role, path, status.code);
}

}  // namespace tavrel
