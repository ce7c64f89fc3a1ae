// Writes through the change log, recovery at opening, and undo.
#include "journal/image_session.h"

#include <algorithm>

namespace tavrel {
namespace {

using State = ChangeRecord::State;

std::vector<ByteRun> placesOf(const ChangeRecord& record) {
    std::vector<ByteRun> places;
    for (const ByteChange& run : record.runs)
        places.push_back({run.offset, static_cast<std::int64_t>(run.after.size())});
    return places;
}

const ChangeRecord* lastDone(const std::vector<ChangeRecord>& records) {
    const auto done = std::find_if(records.rbegin(), records.rend(),
                                   [](const ChangeRecord& r) { return r.state == State::Done; });
    return done == records.rend() ? nullptr : &*done;
}

}  // namespace

ImageSession::ImageSession(const std::string& path, ImageAccess access)
    : file_(std::make_unique<ImageFile>(path, access)), log_(std::make_unique<ChangeLog>(path)) {
    if (!needsRecovery())
        return;
    if (access == ImageAccess::ReadOnly) {
        file_.reset();  // drops the shared lock before the exclusive one is asked for
        file_ = std::make_unique<ImageFile>(path, ImageAccess::ReadWrite);
    }
    recover();
}

std::int64_t ImageSession::strayOffset(const ChangeRecord& record) const {
    std::vector<Bytes> now;
    try {
        now = file_->read(placesOf(record));
    } catch (const FileError&) {
        return record.runs.front().offset;
    }
    for (std::size_t r = 0; r < now.size(); ++r) {
        const ByteChange& run = record.runs[r];
        for (std::size_t i = 0; i < now[r].size(); ++i) {
            if (now[r][i] != run.before[i] && now[r][i] != run.after[i])
                return run.offset + static_cast<std::int64_t>(i);
        }
    }
    return -1;
}

bool ImageSession::needsRecovery() const {
    const std::vector<ChangeRecord>& records = log_->records();
    if (log_->torn() || log_->damaged() ||
        (!records.empty() && records.back().state == State::Pending))
        return true;
    const ChangeRecord* done = lastDone(records);
    if (done == nullptr)
        return false;
    try {
        const std::vector<Bytes> now = file_->read(placesOf(*done));
        for (std::size_t r = 0; r < now.size(); ++r) {
            if (now[r] != done->runs[r].after)
                return true;
        }
    } catch (const FileError&) {
        return true;
    }
    return false;
}

void ImageSession::recover() {
    log_->dropTornTail();
    const std::vector<ChangeRecord>& records = log_->records();
    if (!log_->damaged() && !records.empty() && records.back().state == State::Pending) {
        const ChangeRecord& interrupted = records.back();
        recovery_.description = interrupted.description;
        if (strayOffset(interrupted) >= 0) {
            recovery_.outcome = Recovery::Outcome::Refused;
            recovery_.setAside = log_->setAside();
            return;
        }
        // Writing the new bytes again where some are already there changes nothing.
        const ImageEdit redo{interrupted.runs, interrupted.description};
        checkEdit(*file_, redo);
        writeEdit(*file_, redo);
        log_->completeLast();
        recovery_.outcome = Recovery::Outcome::Completed;
        return;
    }
    if (needsRecovery()) {
        recovery_.outcome = Recovery::Outcome::SetAside;
        recovery_.setAside = log_->setAside();
    }
}

void ImageSession::apply(const ImageEdit& edit) {
    applyLogged(edit, 0);
}

void ImageSession::applyLogged(const ImageEdit& edit, std::uint64_t undoes) {
    checkEdit(*file_, edit);
    ChangeRecord record;
    record.description = edit.description;
    record.undoes = undoes;
    record.runs = changedRuns(edit.changes);
    const bool logged = !record.runs.empty() && log_->append(record);
    try {
        writeEdit(*file_, edit);
    } catch (const FileError&) {
        if (logged)
            log_->abortLast();
        throw;
    }
    if (logged)
        log_->completeLast();
}

std::vector<ChangeRecord> ImageSession::undoable() const {
    std::vector<const ChangeRecord*> stack;
    for (const ChangeRecord& record : log_->records()) {
        if (record.state != State::Done)
            continue;
        if (record.undoes == 0) {
            stack.push_back(&record);
            continue;
        }
        const auto taken = std::find_if(stack.begin(), stack.end(), [&](const ChangeRecord* r) {
            return r->sequence == record.undoes;
        });
        if (taken != stack.end())
            stack.erase(taken);
    }
    std::vector<ChangeRecord> newestFirst;
    for (auto r = stack.rbegin(); r != stack.rend(); ++r) newestFirst.push_back(**r);
    return newestFirst;
}

void ImageSession::undoLast(const std::string& description) {
    const std::vector<ChangeRecord> stack = undoable();
    if (stack.empty())
        return;
    const ChangeRecord& target = stack.front();
    if (const std::int64_t stray = strayOffset(target); stray >= 0) {
        FileError error(FileFailure::ChangedElsewhere, file_->path());
        error.offset = stray;
        throw error;
    }
    ImageEdit inverse{{}, description};
    const std::vector<Bytes> now = file_->read(placesOf(target));
    for (std::size_t r = 0; r < now.size(); ++r)
        inverse.changes.push_back({target.runs[r].offset, now[r], target.runs[r].before});
    applyLogged(inverse, target.sequence);
}

}  // namespace tavrel
