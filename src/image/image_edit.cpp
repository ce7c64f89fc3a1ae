// Applying an edit: all places or none.
#include "image/image_edit.h"

#include <algorithm>

#include "image/image_file.h"

namespace tavrel {
namespace {

// Collects changed bytes into runs: a byte joins the last run when it follows it directly.
class RunBuilder {
public:
    explicit RunBuilder(std::size_t longest) : longest_(longest) {}
    void add(std::int64_t offset, std::uint8_t before, std::uint8_t after) {
        if (before == after)
            return;
        const bool joins =
            !runs_.empty() && runs_.back().after.size() < longest_ &&
            runs_.back().offset + static_cast<std::int64_t>(runs_.back().after.size()) == offset;
        if (!joins)
            runs_.push_back({offset, {}, {}});
        runs_.back().before.push_back(before);
        runs_.back().after.push_back(after);
    }
    std::vector<ByteChange> take() { return std::move(runs_); }

private:
    std::size_t longest_;
    std::vector<ByteChange> runs_;
};

// The places of the bytes the first `count` changes give new values; places a few bytes apart
// (the scattered bytes of a sector's new checksums) are named as one.
std::vector<ByteRun> changedPlaces(const std::vector<ByteChange>& changes, std::size_t count) {
    constexpr std::int64_t kApart = 64;
    std::vector<ByteRun> places;
    const std::vector<ByteChange> first(changes.begin(),
                                        changes.begin() + static_cast<long>(count));
    for (const ByteChange& run : changedRuns(first)) {
        const auto end = run.offset + static_cast<std::int64_t>(run.after.size());
        if (!places.empty() && run.offset >= places.back().offset + places.back().length &&
            run.offset - (places.back().offset + places.back().length) < kApart)
            places.back().length = end - places.back().offset;
        else
            places.push_back({run.offset, end - run.offset});
    }
    return places;
}

// Writes the old bytes of the first `count` changes back and syncs; records what may still
// hold new bytes.
void restore(ImageFile& file, const std::vector<ByteChange>& changes, std::size_t count,
             FileError& failure) {
    std::vector<ByteChange> failed;
    for (std::size_t i = 0; i < count; ++i) {
        try {
            file.write(changes[i].offset, changes[i].before);
        } catch (const FileError&) {
            failed.push_back(changes[i]);
        }
    }
    std::vector<ByteRun> unrestored = changedPlaces(failed, failed.size());
    try {
        file.sync();
    } catch (const FileError&) {
        unrestored =
            changedPlaces(changes, count);  // nothing written back is known to be on the disk
    }
    failure.restore = unrestored.empty() ? Restore::Restored : Restore::NotRestored;
    failure.unrestored = std::move(unrestored);
}

// Changes near each other go to the disk in one call, the bytes between them read and written
// back as they are: a call costs more than the bytes between, and a repair of many sectors in a
// row takes a few calls rather than one a sector. One call writes at most kLargestWrite bytes.
constexpr std::int64_t kNear = 4096;
constexpr std::int64_t kLargestWrite = 1 << 20;

struct WriteGroup {
    std::size_t first = 0, end = 0;  // the changes it writes
    std::int64_t offset = 0, length = 0;
};

std::vector<WriteGroup> writeGroups(const std::vector<ByteChange>& changes) {
    std::vector<WriteGroup> groups;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const std::int64_t offset = changes[i].offset;
        const std::int64_t end = offset + static_cast<std::int64_t>(changes[i].after.size());
        if (!groups.empty()) {
            WriteGroup& last = groups.back();
            const std::int64_t lastEnd = last.offset + last.length;
            if (offset >= lastEnd && offset - lastEnd < kNear &&
                end - last.offset <= kLargestWrite) {
                last.end = i + 1;
                last.length = end - last.offset;
                continue;
            }
        }
        groups.push_back({i, i + 1, offset, end - offset});
    }
    return groups;
}

void writeGroup(ImageFile& file, const std::vector<ByteChange>& changes, const WriteGroup& group) {
    if (group.end - group.first == 1) {
        file.write(changes[group.first].offset, changes[group.first].after);
        return;
    }
    Bytes bytes = file.read(group.offset, static_cast<std::size_t>(group.length));
    for (std::size_t i = group.first; i < group.end; ++i)
        std::copy(changes[i].after.begin(), changes[i].after.end(),
                  bytes.begin() + (changes[i].offset - group.offset));
    file.write(group.offset, bytes);
}

}  // namespace

std::vector<ByteChange> changedRuns(const std::vector<ByteChange>& changes, std::size_t gap) {
    std::vector<ByteChange> runs;
    for (const ByteChange& change : changes) {
        const std::size_t size = change.after.size();
        for (std::size_t first = 0; first < size; ++first) {
            if (change.before[first] == change.after[first])
                continue;
            std::size_t last = first;  // the run's last changed byte
            for (std::size_t next = first + 1; next < size && next - last <= gap + 1; ++next) {
                if (change.before[next] != change.after[next])
                    last = next;
            }
            const auto from = static_cast<long>(first), to = static_cast<long>(last + 1);
            runs.push_back({change.offset + from,
                            Bytes(change.before.begin() + from, change.before.begin() + to),
                            Bytes(change.after.begin() + from, change.after.begin() + to)});
            first = last;
        }
    }
    return runs;
}

std::vector<ByteChange> changedRuns(const ByteValues& bytes, std::size_t longest) {
    RunBuilder runs(longest);
    for (const auto& [offset, values] : bytes) runs.add(offset, values.first, values.second);
    return runs.take();
}

void checkEdit(const ImageFile& file, const ImageEdit& edit) {
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
        for (const WriteGroup& group : writeGroups(changes)) {
            started = group.end - 1;
            writeGroup(file, changes, group);
        }
        file.sync();
    } catch (FileError& failure) {
        // A failed write may have written part of its bytes: it is put back too.
        restore(file, changes, std::min(started + 1, changes.size()), failure);
        throw;
    }
}

}  // namespace tavrel
