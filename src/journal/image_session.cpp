// Writes through the change log, and recovery at opening.
#include "journal/image_session.h"

#include <algorithm>

#include "image/checksum_carry.h"
#include "image/image_name.h"

namespace tavrel {
namespace {

using State = ChangeRecord::State;

// Bytes a change keeps that a record's run may hold, between bytes it changes: fewer runs to
// decode each time the log is read.
constexpr std::size_t kRecordRunGap = 16;

std::vector<ByteRun> placesOf(const ChangeRecord& record) {
    std::vector<ByteRun> places;
    for (const ByteChange& run : record.runs)
        places.push_back({run.offset, static_cast<std::int64_t>(run.after.size())});
    return places;
}

// Done when the image holds every new byte of the record, Aborted when it holds every old one
// (the change never reached it, or was taken back), Pending otherwise.
State stateInImage(const ImageFile& file, const ChangeRecord& record) {
    try {
        const std::vector<Bytes> now = file.read(placesOf(record));
        bool allNew = true, allOld = true;
        for (std::size_t r = 0; r < now.size(); ++r) {
            allNew = allNew && now[r] == record.runs[r].after;
            allOld = allOld && now[r] == record.runs[r].before;
        }
        return allNew ? State::Done : allOld ? State::Aborted : State::Pending;
    } catch (const FileError&) {
        return State::Pending;
    }
}

// The first offset of `record` where the image holds neither its old nor its new byte (or lies
// past the end), -1 when there is none.
std::int64_t strayOffset(const ImageFile& file, const ChangeRecord& record) {
    std::vector<Bytes> now;
    try {
        now = file.read(placesOf(record));
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

}  // namespace

ImageSession::ImageSession(const std::string& name, ImageAccess access)
    : file_(std::make_unique<ImageFile>(imagePathFor(name), access)) {
    // Before the log is even read: recovery may write, and nothing is written into a container.
    refuseContainer(*file_);
    const std::string path = file_->path();
    openLog();
    if (!needsRecovery())
        return;
    if (access == ImageAccess::ReadOnly) {
        log_.reset();
        file_.reset();  // drops the shared lock before the exclusive one is asked for
        file_ = std::make_unique<ImageFile>(path, ImageAccess::ReadWrite);
        openLog();
        if (!needsRecovery())
            return;
    }
    recover();
}

void ImageSession::openLog() {
    log_ = std::make_unique<ChangeLog>(*file_);
    log_->settle(settledStates(
        log_->reading(), [&](const ChangeRecord& record) { return stateInImage(*file_, record); }));
}

bool ImageSession::needsRecovery() const {
    const LogReading& reading = log_->reading();
    if (!log_->usable())
        return false;
    if (reading.kind == LogReading::Kind::Foreign || reading.kind == LogReading::Kind::Newer ||
        reading.damaged() || reading.torn())
        return true;
    const std::vector<ChangeRecord>& records = log_->records();
    if (records.empty())
        return false;
    const bool otherImage = reading.version >= 2 && reading.identity != file_->identity();
    return records.back().state == State::Pending || otherImage || stale();
}

// The log no longer describes the image when the image lacks the new bytes of its last done
// change (the image was replaced by a fresh copy, say). Changes before a gap are not judged:
// the changes the log lost may have written over them.
bool ImageSession::stale() const {
    const std::vector<ChangeRecord>& records = log_->records();
    const auto done = std::find_if(records.rbegin(), records.rend(), [](const ChangeRecord& r) {
        return r.gap || r.state == State::Done;
    });
    return done != records.rend() && !done->gap && stateInImage(*file_, *done) != State::Done;
}

void ImageSession::recover() {
    const LogReading& reading = log_->reading();
    using Problem = Recovery::LogProblem;
    if (reading.kind == LogReading::Kind::Foreign || reading.kind == LogReading::Kind::Newer) {
        recovery_.problem =
            reading.kind == LogReading::Kind::Foreign ? Problem::Foreign : Problem::Newer;
        recovery_.keptAs = log_->setAside();
        return;
    }
    if (reading.damaged()) {
        recovery_.problem = Problem::Damaged;
        recovery_.keptAs = log_->keepAsideAndRewrite();
    } else {
        log_->cutTornTail();
    }
    if (!log_->records().empty() && log_->records().back().state == State::Pending) {
        completeInterrupted();
        if (recovery_.interrupted == Recovery::Interrupted::Refused)
            return;
    }
    // Damage may have taken the record a later change wrote over: what is left is kept.
    if (recovery_.problem != Problem::Damaged && stale()) {
        recovery_.problem = Problem::Stale;
        recovery_.keptAs = log_->setAside();
        return;
    }
    if (reading.version >= 2 && reading.identity != file_->identity())
        log_->adoptImage();
}

void ImageSession::completeInterrupted() {
    const ChangeRecord& interrupted = log_->records().back();
    recovery_.description = interrupted.description;
    if (strayOffset(*file_, interrupted) >= 0) {
        recovery_.interrupted = Recovery::Interrupted::Refused;
        recovery_.keptAs = log_->setAside();
        return;
    }
    // Writing the new bytes again where some are already there changes nothing.
    const ImageEdit redo{interrupted.runs, interrupted.description};
    checkEdit(*file_, redo);
    writeEdit(*file_, redo);
    log_->completeLast();
    recovery_.interrupted = Recovery::Interrupted::Completed;
}

void ImageSession::apply(const ImageEdit& edit) {
    applyLogged(edit, {});
}

void ImageSession::applyLogged(const ImageEdit& planned, std::vector<std::uint64_t> undoes) {
    checkEdit(*file_, planned);
    ImageEdit carried;
    if (!planned.leaveChecksums) {
        carried = planned;
        carrySectorChecksums(*file_, carried);
    }
    const ImageEdit& edit = planned.leaveChecksums ? planned : carried;
    ChangeRecord record;
    record.description = edit.description;
    record.checksumSectors = edit.checksumSectors;
    record.undoes = std::move(undoes);
    record.runs = changedRuns(edit.changes, kRecordRunGap);
    // An undo is logged even where the image already held the old bytes: its record takes the
    // changes off the undo stack.
    const bool logged = (!record.runs.empty() || !record.undoes.empty()) && log_->append(record);
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
    return undoStack(nullptr);
}

bool ImageSession::undoStopsAtGap() const {
    bool stops = false;
    undoStack(&stops);
    return stops;
}

std::vector<ChangeRecord> ImageSession::undoStack(bool* stopsAtGap) const {
    std::vector<const ChangeRecord*> stack;
    for (const ChangeRecord& record : log_->records()) {
        if (record.state != State::Done)
            continue;
        if (record.gap) {
            if (stopsAtGap)
                *stopsAtGap = *stopsAtGap || !stack.empty();
            stack.clear();
        } else if (record.undoes.empty()) {
            stack.push_back(&record);
        }
        std::erase_if(stack, [&](const ChangeRecord* r) {
            return std::count(record.undoes.begin(), record.undoes.end(), r->sequence) > 0;
        });
    }
    std::vector<ChangeRecord> newestFirst;
    for (auto r = stack.rbegin(); r != stack.rend(); ++r) newestFirst.push_back(**r);
    return newestFirst;
}

void ImageSession::undo(std::size_t steps, const std::string& description) {
    const std::vector<ChangeRecord> stack = undoable();
    steps = std::min(steps, stack.size());
    // Every byte the steps touch, as the image holds it now and as each step leaves it.
    ByteValues bytes;
    std::vector<ByteRun> places;
    for (std::size_t s = 0; s < steps; ++s) {
        const std::vector<ByteRun> more = placesOf(stack[s]);
        places.insert(places.end(), more.begin(), more.end());
    }
    const std::vector<Bytes> now = file_->read(places);
    for (std::size_t p = 0; p < places.size(); ++p) {
        for (std::size_t i = 0; i < now[p].size(); ++i)
            bytes[places[p].offset + static_cast<std::int64_t>(i)] = {now[p][i], now[p][i]};
    }
    std::vector<std::uint64_t> undone;
    for (std::size_t s = 0; s < steps; ++s) {
        for (const ByteChange& run : stack[s].runs) {
            for (std::size_t i = 0; i < run.after.size(); ++i) {
                std::uint8_t& value = bytes[run.offset + static_cast<std::int64_t>(i)].second;
                if (value != run.after[i] && value != run.before[i]) {
                    FileError error(FileFailure::ChangedElsewhere, FileRole::Image, file_->path());
                    error.offset = run.offset + static_cast<std::int64_t>(i);
                    throw error;
                }
                value = run.before[i];
            }
        }
        undone.push_back(stack[s].sequence);
    }
    applyLogged({changedRuns(bytes), description}, std::move(undone));
}

}  // namespace tavrel
