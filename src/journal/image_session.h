// An open image and its change log. Every write goes through the log: the change is appended
// to the log and synced, then written into the image and synced, then marked done. Opening
// brings the two together again: a change found complete in the log but not marked done is
// written whole, a torn record (never applied) is cut off, a damaged log keeps every record
// that reads and is kept aside as it was, and a log that is not Tavrel's or no longer
// describes the image is set aside. Changes can be listed and taken back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "image/image_edit.h"
#include "image/image_file.h"
#include "journal/change_log.h"

namespace tavrel {

struct Recovery {
    // What became of a change found interrupted (`description`).
    enum class Interrupted {
        None,
        Completed,  // it is now whole in the image
        Refused,    // not redone: the image holds other bytes there, so another program changed
                    // it; the log is kept as `keptAs`
    };
    // What was wrong with the log itself; it is kept as it was under `keptAs` (empty when it
    // could not be: `ImageSession::logFailure` says why, and changes then go unlogged).
    enum class LogProblem {
        None,
        Damaged,  // bytes that are no record stood among the records: the readable ones stay
        Foreign,  // not a change log of Tavrel's
        Newer,    // a change log of a later version of Tavrel
        Stale,    // it no longer described the image (a fresh copy, say)
    };
    Interrupted interrupted = Interrupted::None;
    std::string description;
    LogProblem problem = LogProblem::None;
    std::string keptAs;
};

class ImageSession {
public:
    // Opens the image `name` stands for (image_name.h: a .cue sheet's data track; a container
    // refused) and its log, and recovers. A reader that finds something to recover takes the
    // image for writing and reads the log again first: a writer may have changed it in between.
    // Throws FileError.
    explicit ImageSession(const std::string& name, ImageAccess access = ImageAccess::ReadWrite);

    ImageFile& file() { return *file_; }
    const ImageFile& file() const { return *file_; }
    const Recovery& recovery() const { return recovery_; }

    // False when the log could not be read, created or written (a read-only folder, a damaged
    // log that could not be set aside): writes then go on without it. `logFailure` says why.
    bool logging() const { return log_->usable(); }
    const std::optional<FileError>& logFailure() const { return log_->failure(); }
    const std::string& logPath() const { return log_->path(); }

    // Writes the edit through the log: all of it and synced, or (FileError) none of it, its
    // record then marked aborted. An edit that changes no byte is written but not logged.
    void apply(const ImageEdit& edit);

    // The logged changes, oldest first.
    const std::vector<ChangeRecord>& history() const { return log_->records(); }
    // The changes undo would take back, the most recent first: none before a gap, a stretch of
    // changes the log lost, as they may have written over them.
    std::vector<ChangeRecord> undoable() const;
    // True when a gap keeps undo from changes before it.
    bool undoStopsAtGap() const;
    // Takes back the `steps` most recent undoable changes (at most undoable().size()) as one
    // change of its own named `description`: every byte of every step is checked before the
    // first is written. FileError ChangedElsewhere when the image holds, at a byte of one of
    // them, neither its old nor its new value as the later steps leave it.
    void undo(std::size_t steps, const std::string& description);

private:
    void openLog();
    bool needsRecovery() const;
    void recover();
    void completeInterrupted();
    bool stale() const;
    // The undoable changes; `stopsAtGap`, when given, says whether the last gap cut some off.
    std::vector<ChangeRecord> undoStack(bool* stopsAtGap) const;
    void applyLogged(const ImageEdit& edit, std::vector<std::uint64_t> undoes);

    std::unique_ptr<ImageFile> file_;
    std::unique_ptr<ChangeLog> log_;
    Recovery recovery_;
};

}  // namespace tavrel
