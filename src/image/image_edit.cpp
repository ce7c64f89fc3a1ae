// Applying an edit: all places or none.
#include "image/image_edit.h"

#include <algorithm>
#include <string_view>

#include "image/image_file.h"

namespace tavrel {
namespace {

constexpr std::int64_t kCookedIsoSignatureOffset = 16 * 2048 + 1;
constexpr std::string_view kIsoSignature = "CD001";

// The runs of bytes the change gives new values.
void addChangedRuns(const ByteChange& change, std::vector<ByteRun>& runs) {
    for (std::size_t i = 0; i < change.after.size(); ++i) {
        if (change.before[i] == change.after[i])
            continue;
        const std::int64_t offset = change.offset + static_cast<std::int64_t>(i);
        if (!runs.empty() && runs.back().offset + runs.back().length == offset)
            ++runs.back().length;
        else
            runs.push_back({offset, 1});
    }
}

// Writes the old bytes of the first `count` changes back and syncs; records what may still
// hold new bytes.
void restore(ImageFile& file, const std::vector<ByteChange>& changes, std::size_t count,
             FileError& failure) {
    std::vector<ByteRun> unrestored;
    for (std::size_t i = 0; i < count; ++i) {
        try {
            file.write(changes[i].offset, changes[i].before);
        } catch (const FileError&) {
            addChangedRuns(changes[i], unrestored);
        }
    }
    try {
        file.sync();
    } catch (const FileError&) {
        unrestored.clear();  // nothing written back is known to be on the disk
        for (std::size_t i = 0; i < count; ++i) addChangedRuns(changes[i], unrestored);
    }
    failure.restore = unrestored.empty() ? Restore::Restored : Restore::NotRestored;
    failure.unrestored = std::move(unrestored);
}

}  // namespace

bool isCookedIsoImage(const ImageFile& file) {
    const auto length = static_cast<std::int64_t>(kIsoSignature.size());
    if (file.size() < kCookedIsoSignatureOffset + length)
        return false;
    const Bytes found = file.read(kCookedIsoSignatureOffset, kIsoSignature.size());
    return std::equal(found.begin(), found.end(), kIsoSignature.begin());
}

void checkEdit(const ImageFile& file, const ImageEdit& edit) {
    if (isCookedIsoImage(file))
        throw FileError(FileFailure::NotRawImage, file.path());
    const std::int64_t fileSize = file.size();
    for (const ByteChange& change : edit.changes) {
        if (change.offset + static_cast<std::int64_t>(change.after.size()) > fileSize)
            file.requireInside(change.offset, static_cast<std::int64_t>(change.after.size()));
    }
}

void writeEdit(ImageFile& file, const ImageEdit& edit) {
    const std::vector<ByteChange>& changes = edit.changes;
    std::size_t started = 0;
    try {
        for (; started < changes.size(); ++started)
            file.write(changes[started].offset, changes[started].after);
        file.sync();
    } catch (FileError& failure) {
        // A failed write may have written part of its bytes: it is put back too.
        restore(file, changes, std::min(started + 1, changes.size()), failure);
        throw;
    }
}

}  // namespace tavrel
