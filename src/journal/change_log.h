// The change log file beside an image, "<image>.tavrel-log": its records, read whole when the
// image is opened, and the few ways it is written: a record appended and synced before the
// image is touched, a record's state marked in place, a torn tail cut off, the whole log set
// aside under another name. A missing log is an empty one, created at the first append.
#pragma once

#include <string>
#include <vector>

#include "journal/change_record.h"

namespace tavrel {

class ChangeLog {
public:
    explicit ChangeLog(const std::string& imagePath);
    ~ChangeLog();
    ChangeLog(const ChangeLog&) = delete;
    ChangeLog& operator=(const ChangeLog&) = delete;

    static std::string pathFor(const std::string& imagePath) { return imagePath + ".tavrel-log"; }
    const std::string& path() const { return path_; }

    // False once the log could not be read, created or written: writes then go without it.
    bool usable() const { return usable_; }
    // Why it is not usable (errno), 0 while it is.
    int failure() const { return failure_; }

    const std::vector<ChangeRecord>& records() const { return records_; }
    // True when the file ended in bytes that are no whole record (a record torn by a crash).
    bool torn() const { return tornAt_ >= 0; }
    // True when bytes that are no record stand before the end: the log was damaged, and what
    // follows the damage is not read.
    bool damaged() const { return damaged_; }

    // Cuts the torn tail off: such a record never reached the image.
    void dropTornTail();

    // Appends `record` (its sequence number given here) as Pending and syncs the log. False,
    // with the log no longer usable, when that failed; the log then ends as before.
    bool append(ChangeRecord& record);

    // Marks the last record Done in place. Not synced: should the mark be lost, the next
    // opening finds the change not marked and writes its bytes again, which changes nothing.
    void completeLast();
    // Marks the last record Aborted, synced: the next opening must not redo a change that was
    // taken back. Where the mark cannot be written, the record is cut off instead.
    void abortLast();

    // Renames the log to a free name of its own beside it ("<log>.1", "<log>.2", ...) and
    // starts an empty one; returns the name, empty when the rename failed.
    std::string setAside();

private:
    void fail(int error);
    bool openForWriting();

    std::string path_;
    int fd_ = -1;
    bool usable_ = true;
    int failure_ = 0;
    std::int64_t end_ = 0;        // where the next record goes
    std::int64_t lastStart_ = 0;  // where the record appended last starts
    std::int64_t tornAt_ = -1;    // where a torn tail starts
    bool damaged_ = false;
    std::vector<ChangeRecord> records_;
};

}  // namespace tavrel
