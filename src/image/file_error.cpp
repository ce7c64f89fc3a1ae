// The plain account of a FileError.
#include "image/file_error.h"

#include <cstdio>
#include <cstring>

namespace tavrel {

std::string hexOffset(std::int64_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
    return text;
}

std::string hexRuns(const std::vector<ByteRun>& runs) {
    std::string text;
    for (const ByteRun& run : runs) {
        text += (text.empty() ? "" : ", ") + hexOffset(run.offset);
        if (run.length > 1)
            text += "–" + hexOffset(run.offset + run.length - 1);
    }
    return text;
}

std::string FileError::systemReason() const {
    return systemError != 0 ? std::strerror(systemError) : std::string();
}

const char* FileError::what() const noexcept {
    try {
        what_ = path;
        if (offset >= 0)
            what_ += " at " + hexOffset(offset);
        what_ += ": failure " + std::to_string(static_cast<int>(failure));
        if (systemError != 0)
            what_ += " (" + systemReason() + ")";
    } catch (...) {
        return "file error";
    }
    return what_.c_str();
}

}  // namespace tavrel
