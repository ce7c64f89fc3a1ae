// The change log file of an image: found beside the file the image's name leads to (or, for a
// second name of that file in the same folder, by the identity the log records), read whole
// when the image is opened, and written in a few ways only: a record appended and synced before
// the image is touched, a record's mark rewritten in place, a torn tail cut off, the whole log
// set aside under another name, or rewritten from its readable records (gaps where damage took
// records) with the damaged log kept aside as it was. A missing log is an empty one, created at
// the first append.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "image/image_file.h"
#include "journal/log_reading.h"

namespace tavrel {

class ChangeLog {
public:
    // Finds and reads the log of the open image; writes nothing.
    explicit ChangeLog(const ImageFile& image);

    // "<file>.tavrel-log" beside the file `imagePath` leads to once links are followed.
    static std::string pathFor(const std::string& imagePath);
    const std::string& path() const { return path_; }

    const LogReading& reading() const { return reading_; }
    const std::vector<ChangeRecord>& records() const { return reading_.records; }

    // False once the log could not be read, created or written: writes then go without it.
    bool usable() const { return !failure_; }
    const std::optional<FileError>& failure() const { return failure_; }

    // Gives the records the states settledStates() worked out. A last record whose mark was
    // cut off (a lost mark) and whose bytes the image does not hold (Aborted) is a crash's
    // leftover, cut off with the torn tail; one that reached the image leaves the log damaged.
    void settle(const std::vector<ChangeRecord::State>& states);

    // The rest needs the image's write lock.

    // Cuts a torn tail off (not synced: a tail that comes back is cut again): such a record
    // never reached the image.
    void cutTornTail();
    // Keeps the log as it is under a free name beside it ("<log>.1", "<log>.2", ...) and makes
    // the records, with the states they now have and the gaps reading put in, the whole log.
    // Returns the name it was kept under; empty, with the log unusable, when that failed (the
    // log is then left as it was).
    std::string keepAsideAndRewrite();
    // Renames the log to a free name beside it; a new log starts with the next change. Empty,
    // with the log unusable, when the rename failed.
    std::string setAside();
    // Records the open image as the log's own (it was started for a copy of it, or before).
    void adoptImage();

    // Appends `record` (its sequence number given here) as Pending and syncs the log. False,
    // with the log no longer usable, when that failed; the log then ends as before.
    bool append(ChangeRecord& record);
    // Marks the last record Done in place. Not synced: should the mark be lost, the next
    // opening finds the change not marked and writes its bytes again, which changes nothing.
    void completeLast();
    // Marks the last record Aborted, synced: the next opening must not redo a change that was
    // taken back. Where the mark cannot be written, the record is cut off instead.
    void abortLast();

private:
    void read();
    bool openForWriting();
    // A version 1 log becomes a version 2 one, records and marks as they are, before anything
    // is added to it.
    bool upgrade();
    Bytes rewritten();
    std::string freeAsideName() const;
    void fail(const FileError& error);

    std::string path_;
    sys::FileIdentity image_;
    bool exists_ = false;
    Bytes bytes_;  // the log as read, kept for setting a damaged log aside whole
    LogReading reading_;
    sys::File file_;              // open for writing once a write needs it
    std::uint32_t version_ = 2;   // of the log file as it stands
    std::int64_t end_ = 0;        // where the next record goes
    std::int64_t lastStart_ = 0;  // where the record appended last starts
    std::optional<FileError> failure_;
};

}  // namespace tavrel
