// Offsets and runs in hex, and what a failed write left.
#include "image/offset_text.h"

#include <cstdio>

namespace tavrel {

std::string hexOffset(std::int64_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
    return text;
}

std::string hexRuns(const std::vector<ByteRun>& runs, RunEnd end) {
    std::string text;
    for (const ByteRun& run : runs) {
        text += (text.empty() ? "" : ", ") + hexOffset(run.offset);
        if (run.length <= 1)
            continue;
        switch (end) {
            case RunEnd::LastOffset:
                text += "–" + hexOffset(run.offset + run.length - 1);
                break;
            case RunEnd::ByteCount:
                text += "+" + std::to_string(run.length - 1);
                break;
        }
    }
    return text;
}

std::string restoreText(const FileError& error, const RestoreWords& words) {
    switch (error.restore) {
        case Restore::NotNeeded:
            return "";
        case Restore::Restored:
            return std::string(words.restored);
        case Restore::NotRestored:
            break;
    }
    return std::string(words.notRestored) + hexRuns(error.unrestored, words.runEnd) +
           std::string(words.last);
}

}  // namespace tavrel
