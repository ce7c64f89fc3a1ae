// The change log's file: finding it, reading it, and the few ways it is written.
#include "journal/change_log.h"

#include <algorithm>
#include <ctime>

#include "image/whole_files.h"
#include "platform/paths.h"

namespace tavrel {
namespace {

constexpr std::string_view kLogSuffix = ".tavrel-log";

// Another log in `folder` started for the same file: the log of a second name of the image.
std::optional<std::string> logNamingImage(const std::string& folder,
                                          const sys::FileIdentity& image) {
    std::vector<std::string> names;
    if (!sys::listFolder(folder, names).ok())
        return std::nullopt;
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (!name.ends_with(kLogSuffix))
            continue;
        try {
            const std::string path = pathIn(folder, name);
            const LogReading header =
                readLog(readFileStart(path, kLogHeaderSize, FileRole::ChangeLog));
            if (header.kind == LogReading::Kind::Ours && header.version >= 2 &&
                header.identity == image)
                return path;
        } catch (const FileError&) {
            // A name that cannot be read as a log is no log of this image.
        }
    }
    return std::nullopt;
}

}  // namespace

std::string ChangeLog::pathFor(const std::string& imagePath) {
    return sys::resolved(imagePath) + std::string(kLogSuffix);
}

ChangeLog::ChangeLog(const ImageFile& image)
    : path_(pathFor(image.path())), image_(image.identity()) {
    sys::PathInfo info;
    if (const sys::Status status = sys::inspect(path_, info); !status.ok()) {
        fail(openError(status, FileRole::ChangeLog, path_));
        return;
    }
    if (info.kind == sys::PathKind::Missing) {
        const auto other = logNamingImage(folderOf(path_), image_);
        if (!other)
            return;  // created at the first append
        path_ = *other;
        info.kind = sys::PathKind::File;
    }
    exists_ = true;
    if (info.kind != sys::PathKind::File) {
        fail(FileError(FileFailure::NotAFile, FileRole::ChangeLog, path_));
        return;
    }
    read();
}

void ChangeLog::read() {
    sys::File file;
    std::int64_t size = 0;
    sys::Status status = sys::File::open(path_, sys::Access::Read, file);
    if (status.ok())
        status = file.size(size);
    bytes_.resize(static_cast<std::size_t>(status.ok() ? size : 0));
    std::size_t got = 0;
    if (status.ok())
        status = file.readAt(0, bytes_, got);
    if (!status.ok()) {
        // A log that cannot be read tells nothing, and must not be written over.
        bytes_.clear();
        fail(openError(status, FileRole::ChangeLog, path_));
        return;
    }
    reading_ = readLog(bytes_);
    version_ = reading_.version;
    end_ = reading_.end();
}

void ChangeLog::fail(const FileError& error) {
    if (!failure_)
        failure_ = error;
}

std::string ChangeLog::freeAsideName() const {
    for (int n = 1;; ++n) {
        const std::string aside = path_ + "." + std::to_string(n);
        sys::PathInfo info;
        if (sys::inspect(aside, info).ok() && info.kind == sys::PathKind::Missing)
            return aside;
    }
}

// The whole log as this program writes it, the records' marks placed where it puts them.
Bytes ChangeLog::rewritten() {
    version_ = logVersionFor(reading_.records);
    Bytes content = encodeLogHeader(image_, version_);
    for (ChangeRecord& record : reading_.records) {
        if (record.gap && record.time == 0)
            record.time = std::time(nullptr);  // when the damage was found
        const Bytes bytes = encodeRecord(record, version_);
        content.insert(content.end(), bytes.begin(), bytes.end());
        record.markOffset = static_cast<std::int64_t>(content.size() - markSize(version_));
    }
    return content;
}

void ChangeLog::settle(const std::vector<ChangeRecord::State>& states) {
    std::vector<ChangeRecord>& records = reading_.records;
    for (std::size_t i = 0; i < records.size(); ++i) records[i].state = states[i];
    for (LogFinding& finding : reading_.findings) {
        if (finding.kind == LogFinding::Kind::LostMark &&
            records.back().state == ChangeRecord::State::Aborted) {
            records.pop_back();
            finding.kind = LogFinding::Kind::TornTail;
            end_ = finding.offset;
        }
    }
}

void ChangeLog::cutTornTail() {
    if (!reading_.torn() || !usable())
        return;
    std::erase_if(reading_.findings, [](const LogFinding& finding) {
        return finding.kind == LogFinding::Kind::TornTail;
    });
    if (reading_.kind == LogReading::Kind::Empty)
        return;  // the first append writes the header whole
    file_ = sys::File();
    sys::Status status = sys::File::open(path_, sys::Access::ReadWrite, file_);
    if (status.ok())
        status = file_.truncate(end_);
    if (!status.ok())
        return fail(FileError(FileFailure::WriteFailed, FileRole::ChangeLog, path_, status.code));
    reading_.size = end_;
    bytes_.resize(static_cast<std::size_t>(end_));
}

std::string ChangeLog::keepAsideAndRewrite() {
    if (!usable())
        return {};
    file_ = sys::File();  // a file open here could not be replaced on every system
    const std::string aside = freeAsideName();
    const Bytes content = rewritten();
    try {
        writeFilesWhole(folderOf(path_),
                        {{fileNameOf(aside), bytes_}, {fileNameOf(path_), content}},
                        FileRole::ChangeLog);
    } catch (const FileError& error) {
        fail(error);
        return {};
    }
    bytes_ = content;
    reading_.version = version_;
    reading_.findings.clear();
    reading_.size = end_ = static_cast<std::int64_t>(content.size());
    return aside;
}

std::string ChangeLog::setAside() {
    file_ = sys::File();
    const std::string aside = freeAsideName();
    if (const sys::Status status = sys::replace(path_, aside); !status.ok()) {
        fail(FileError(FileFailure::CreateFailed, FileRole::ChangeLog, aside, status.code));
        return {};
    }
    exists_ = false;
    bytes_.clear();
    reading_ = LogReading();
    end_ = 0;
    return aside;
}

void ChangeLog::adoptImage() {
    if (!usable() || reading_.version < 2 || !openForWriting())
        return;
    if (file_.writeAt(kHeaderIdentityAt, encodeIdentity(image_)).ok())
        reading_.identity = image_;
}

bool ChangeLog::openForWriting() {
    if (file_.isOpen())
        return true;
    if (exists_ && reading_.kind == LogReading::Kind::Ours && reading_.version < 2 && !upgrade())
        return false;
    if (exists_ && reading_.kind != LogReading::Kind::Ours &&
        reading_.kind != LogReading::Kind::Empty) {
        fail(FileError(FileFailure::NotAFile, FileRole::ChangeLog, path_));
        return false;  // never written over: the session sets such a file aside first
    }
    sys::Status status = exists_ ? sys::File::open(path_, sys::Access::ReadWrite, file_)
                                 : sys::File::create(path_, file_);
    if (status.ok() && reading_.kind == LogReading::Kind::Empty) {
        // A new log, or one whose header a crash cut short: it starts with a whole header.
        version_ = 2;
        const Bytes header = encodeLogHeader(image_, version_);
        status = file_.truncate(0);
        if (status.ok())
            status = file_.writeAt(0, header);
        // A record synced into a log whose name is not on the disk could vanish with it.
        if (status.ok() && !exists_)
            status = sys::syncFolder(folderOf(path_));
        end_ = static_cast<std::int64_t>(header.size());
        reading_ = LogReading();
        reading_.kind = LogReading::Kind::Ours;
        reading_.identity = image_;
    }
    if (!status.ok()) {
        file_ = sys::File();
        fail(FileError(exists_ ? FileFailure::WriteFailed : FileFailure::CreateFailed,
                       FileRole::ChangeLog, path_, status.code));
        return false;
    }
    exists_ = true;
    return true;
}

bool ChangeLog::upgrade() {
    const Bytes content = rewritten();
    try {
        writeFilesWhole(folderOf(path_), {{fileNameOf(path_), content}}, FileRole::ChangeLog);
    } catch (const FileError& error) {
        fail(error);
        return false;
    }
    bytes_ = content;
    reading_.version = version_;
    reading_.size = end_ = static_cast<std::int64_t>(content.size());
    return true;
}

bool ChangeLog::append(ChangeRecord& record) {
    if (!usable() || !openForWriting())
        return false;
    const std::vector<ChangeRecord>& records = reading_.records;
    record.sequence = records.empty() ? 1 : records.back().sequence + 1;
    record.time = std::time(nullptr);
    record.state = ChangeRecord::State::Pending;
    const Bytes bytes = encodeRecord(record, version_);
    sys::Status status = file_.writeAt(end_, bytes);
    if (status.ok())
        status = file_.syncData();
    if (!status.ok()) {
        (void)file_.truncate(end_);  // a record that did not reach the disk is no record
        fail(FileError(FileFailure::WriteFailed, FileRole::ChangeLog, path_, status.code));
        return false;
    }
    record.markOffset = end_ + static_cast<std::int64_t>(bytes.size() - markSize(version_));
    lastStart_ = end_;
    end_ += static_cast<std::int64_t>(bytes.size());
    reading_.records.push_back(record);
    return true;
}

void ChangeLog::completeLast() {
    if (!usable() || !openForWriting())
        return;
    ChangeRecord& record = reading_.records.back();
    if (file_.writeAt(record.markOffset, encodeMark(ChangeRecord::State::Done)).ok())
        record.state = ChangeRecord::State::Done;
}

void ChangeLog::abortLast() {
    if (!openForWriting())
        return;
    ChangeRecord& record = reading_.records.back();
    if (file_.writeAt(record.markOffset, encodeMark(ChangeRecord::State::Aborted)).ok() &&
        file_.syncData().ok()) {
        record.state = ChangeRecord::State::Aborted;
        return;
    }
    end_ = lastStart_;
    (void)file_.truncate(end_);
    (void)file_.syncData();
    reading_.records.pop_back();
}

}  // namespace tavrel
