// An open image and its change log. Every write goes through the log: the change is appended
// to the log and synced, then written into the image and synced, then marked done. Opening
// brings the two together again after a crash: a change found complete in the log but not
// marked done is written whole, a torn record (never applied) is dropped, and a log that no
// longer describes the image is set aside. Changes can be listed and taken back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "journal/change_log.h"
#include "image/image_edit.h"
#include "image/image_file.h"

namespace tavrel {

struct Recovery {
    enum class Outcome {
        None,
        Completed,  // an interrupted change (`description`) is now whole in the image
        Refused,    // an interrupted change was not redone: the image holds other bytes there,
                    // so another program changed it; the log is kept as `setAside`
        SetAside,   // the log no longer described the image (a fresh copy, say), or was
                    // damaged: kept aside
    };
    Outcome outcome = Outcome::None;
    std::string description;
    std::string setAside;
};

class ImageSession {
public:
    // Opens the image (ImageFile) and its log, and recovers; a reader that finds something to
    // recover holds the image for writing. Throws FileError.
    explicit ImageSession(const std::string& path, ImageAccess access = ImageAccess::ReadWrite);

    ImageFile& file() { return *file_; }
    const ImageFile& file() const { return *file_; }
    const Recovery& recovery() const { return recovery_; }

    // False when the log could not be created or written (a read-only folder): writes then go
    // on without it. `logFailure` is the system's errno.
    bool logging() const { return log_->usable(); }
    int logFailure() const { return log_->failure(); }
    const std::string& logPath() const { return log_->path(); }

    // Writes the edit through the log: all of it and synced, or (FileError) none of it, its
    // record then marked aborted. An edit that changes no byte is written but not logged.
    void apply(const ImageEdit& edit);

    // The logged changes, oldest first.
    const std::vector<ChangeRecord>& history() const { return log_->records(); }
    // The changes undo would take back, the most recent first.
    std::vector<ChangeRecord> undoable() const;
    // Takes back the most recent undoable change, logged as a change of its own named
    // `description`. FileError ChangedElsewhere when the image holds, at one of its places,
    // neither its old nor its new bytes.
    void undoLast(const std::string& description);

private:
    bool needsRecovery() const;
    void recover();
    // The first offset of `record` where the image holds neither its old nor its new byte
    // (or lies past the end), -1 when there is none.
    std::int64_t strayOffset(const ChangeRecord& record) const;
    void applyLogged(const ImageEdit& edit, std::uint64_t undoes);

    std::unique_ptr<ImageFile> file_;
    std::unique_ptr<ChangeLog> log_;
    Recovery recovery_;
};

}  // namespace tavrel
