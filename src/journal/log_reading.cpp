// Reading a log record by record, looking past damage for the next record that reads, and
// settling the marks it could not read.
#include "journal/log_reading.h"

#include <algorithm>

#include "sector/byte_order.h"
#include "sector/edc.h"

namespace tavrel {
namespace {

constexpr std::size_t kDiskBlock = 512;

bool isZero(std::uint8_t byte) {
    return byte == 0;
}

template <std::size_t N>
bool startsWith(std::span<const std::uint8_t> bytes, const std::array<std::uint8_t, N>& prefix) {
    const std::size_t length = std::min(bytes.size(), N);
    return std::equal(bytes.begin(), bytes.begin() + static_cast<long>(length), prefix.begin());
}

class RecordParser {
public:
    RecordParser(std::span<const std::uint8_t> log, std::uint32_t version)
        : log_(log), mark_(markSize(version)), version_(version) {}

    // The record at `at` as written: magic, length, checksum, body and mark all right.
    std::optional<ChangeRecord> strict(std::size_t at, std::size_t& size) const {
        if (log_.size() - at < kRecordHeaderSize || !startsWith(log_.subspan(at), kRecordMagic))
            return std::nullopt;
        const std::size_t length = littleEndian(log_, at + 4, 4);
        if (length > log_.size() - at - kRecordHeaderSize - mark_)
            return std::nullopt;
        std::optional<ChangeRecord> record = body(at, length);
        if (!record)
            return std::nullopt;
        record->state = decodeMark(log_.subspan(record->markOffset, mark_), version_);
        size = kRecordHeaderSize + length + mark_;
        return record->state == ChangeRecord::State::Unknown ? std::nullopt : record;
    }

    // The record filling [at, stop), its magic and length not trusted: the body is whatever
    // the checksum confirms, the mark what follows it.
    std::optional<ChangeRecord> lenient(std::size_t at, std::size_t stop, bool& markMissing) const {
        const std::size_t span = stop - at;
        if (span < kRecordHeaderSize)
            return std::nullopt;
        const std::size_t declared = littleEndian(log_, at + 4, 4);
        std::vector<std::size_t> lengths;
        if (declared <= span - kRecordHeaderSize)
            lengths.push_back(declared);
        if (span >= kRecordHeaderSize + mark_)
            lengths.push_back(span - kRecordHeaderSize - mark_);
        if (stop == log_.size())
            lengths.push_back(span - kRecordHeaderSize);
        for (const std::size_t length : lengths) {
            std::optional<ChangeRecord> record = body(at, length);
            if (!record)
                continue;
            // A mark cut off with the end of the file, or never written (zeros where a crash
            // left a whole-length record), is missing rather than damaged.
            const auto markAt = static_cast<std::size_t>(record->markOffset);
            const auto mark = log_.subspan(markAt, std::min(mark_, stop - markAt));
            markMissing = stop == log_.size() &&
                          (mark.size() < mark_ || std::all_of(mark.begin(), mark.end(), isZero));
            record->state = markMissing ? ChangeRecord::State::Unknown : decodeMark(mark, version_);
            return record;
        }
        return std::nullopt;
    }

    // True when `at` starts a record's magic and a length that fits in the log.
    bool framed(std::size_t at) const {
        return log_.size() - at >= kRecordHeaderSize &&
               startsWith(log_.subspan(at), kRecordMagic) &&
               littleEndian(log_, at + 4, 4) <= log_.size() - at - kRecordHeaderSize - mark_;
    }

    // The first offset after `at` where a record reads as written, or the end of the log.
    std::size_t next(std::size_t at) const {
        for (auto p = log_.begin() + static_cast<long>(at) + 1;
             (p = std::search(p, log_.end(), kRecordMagic.begin(), kRecordMagic.end())) !=
             log_.end();
             ++p) {
            std::size_t size = 0;
            if (strict(static_cast<std::size_t>(p - log_.begin()), size))
                return static_cast<std::size_t>(p - log_.begin());
        }
        return log_.size();
    }

    // What a crash can leave at the end: part of a header, a record shorter than its header
    // says, a whole-length record still marked pending (or not marked at all) whose body does
    // not check, or a record whose first disk block never reached the disk while later ones
    // did (zeros up to the next 512-byte boundary: the disk writes whole blocks, in any order).
    bool crashLeftover(std::size_t at) const {
        const auto rest = log_.subspan(at);
        const auto firstBlock = rest.first(std::min(rest.size(), kDiskBlock - at % kDiskBlock));
        if (std::all_of(firstBlock.begin(), firstBlock.end(), isZero))
            return true;
        if (!startsWith(rest, kRecordMagic))
            return false;
        if (rest.size() < kRecordHeaderSize)
            return true;
        const std::size_t total = kRecordHeaderSize + littleEndian(log_, at + 4, 4) + mark_;
        if (total != rest.size())
            return total > rest.size();
        const auto mark = rest.last(mark_);
        return decodeMark(mark, version_) == ChangeRecord::State::Pending ||
               std::all_of(mark.begin(), mark.end(), isZero);
    }

private:
    std::optional<ChangeRecord> body(std::size_t at, std::size_t length) const {
        const auto bytes = log_.subspan(at + kRecordHeaderSize, length);
        if (edc(bytes) != littleEndian(log_, at + 8, 4))
            return std::nullopt;
        std::optional<ChangeRecord> record = decodeBody(bytes, version_);
        if (record)
            record->markOffset = static_cast<std::int64_t>(at + kRecordHeaderSize + length);
        return record;
    }

    std::span<const std::uint8_t> log_;
    std::size_t mark_;
    std::uint32_t version_;
};

// The kind, version and identity the header gives; the size of the header, 0 when none reads.
std::size_t readHeader(std::span<const std::uint8_t> bytes, LogReading& reading) {
    const auto cutShort = [&] {
        reading.kind = LogReading::Kind::Empty;
        if (!bytes.empty())
            reading.findings.push_back({0, reading.size, LogFinding::Kind::TornTail});
        return std::size_t{0};
    };
    // A new log whose header never reached the disk, only its size and perhaps pieces of its
    // first record: zeros where the header belongs, and no record that reads.
    const auto header = bytes.first(std::min(bytes.size(), kLogHeaderSize));
    if (std::all_of(header.begin(), header.end(), isZero) &&
        RecordParser(bytes, 2).next(0) == bytes.size())
        return cutShort();
    if (!startsWith(bytes, kLogMagic)) {
        reading.kind = LogReading::Kind::Foreign;
        return 0;
    }
    if (bytes.size() < kLogMagic.size() + 4)
        return cutShort();
    reading.version = static_cast<std::uint32_t>(littleEndian(bytes, kLogMagic.size(), 4));
    if (reading.version == 0 || reading.version > kLogVersion) {
        reading.kind = reading.version == 0 ? LogReading::Kind::Foreign : LogReading::Kind::Newer;
        return 0;
    }
    const std::size_t size = reading.version == 1 ? kLogHeaderSizeV1 : kLogHeaderSize;
    if (bytes.size() < size)
        return cutShort();
    if (reading.version >= 2)
        reading.identity = {littleEndian(bytes, kHeaderIdentityAt, 8),
                            littleEndian(bytes, kHeaderIdentityAt + 8, 8)};
    reading.kind = LogReading::Kind::Ours;
    return size;
}

// Stands for the changes from `sequence` on that damage took.
ChangeRecord gapFrom(std::uint64_t sequence) {
    ChangeRecord gap;
    gap.sequence = sequence;
    gap.description = "modifiche perse: il registro era danneggiato";
    gap.state = ChangeRecord::State::Done;
    gap.gap = true;
    return gap;
}

}  // namespace

std::int64_t LogReading::end() const {
    for (const LogFinding& finding : findings) {
        if (finding.kind == LogFinding::Kind::TornTail)
            return finding.offset;
    }
    return size;
}

bool LogReading::torn() const {
    return end() < size;
}

bool LogReading::damaged() const {
    return std::any_of(findings.begin(), findings.end(), [](const LogFinding& finding) {
        return finding.kind != LogFinding::Kind::TornTail;
    });
}

LogReading readLog(std::span<const std::uint8_t> bytes) {
    using Finding = LogFinding::Kind;
    LogReading reading;
    reading.size = static_cast<std::int64_t>(bytes.size());
    std::size_t at = readHeader(bytes, reading);
    if (reading.kind != LogReading::Kind::Ours)
        return reading;
    const RecordParser parser(bytes, reading.version);
    std::vector<ChangeRecord>& records = reading.records;
    const auto next = [&] { return records.empty() ? 1 : records.back().sequence + 1; };
    bool dropped = false;  // bytes that may have held records dropped since the last record
    const auto keep = [&](ChangeRecord record) {
        if (dropped && record.sequence != next())
            records.push_back(gapFrom(next()));
        dropped = false;
        records.push_back(std::move(record));
    };
    const auto found = [&](std::size_t from, std::size_t length, Finding kind) {
        reading.findings.push_back(
            {static_cast<std::int64_t>(from), static_cast<std::int64_t>(length), kind});
    };
    while (at < bytes.size()) {
        std::size_t size = 0;
        if (std::optional<ChangeRecord> record = parser.strict(at, size)) {
            keep(std::move(*record));
            at += size;
            continue;
        }
        const auto rest = bytes.subspan(at);
        const std::size_t stop = parser.next(at);
        bool markMissing = false;
        std::optional<ChangeRecord> record = parser.lenient(at, stop, markMissing);
        if (std::all_of(rest.begin(), rest.end(), isZero) ||
            (!record && stop == bytes.size() && parser.crashLeftover(at))) {
            found(at, rest.size(), Finding::TornTail);
            break;
        }
        if (!record) {
            found(at, stop - at,
                  parser.framed(at) ? Finding::ChecksumMismatch : Finding::NotARecord);
            dropped = true;
        } else if (markMissing) {
            // A mark cut off with the end of the file may be a crash's: settling decides.
            found(at, stop - at, Finding::LostMark);
        } else if (record->state == ChangeRecord::State::Unknown) {
            found(static_cast<std::size_t>(record->markOffset), markSize(reading.version),
                  Finding::BadMark);
        } else {
            found(at, kRecordHeaderSize, Finding::NotARecord);  // a damaged magic or length
        }
        if (record)
            keep(std::move(*record));
        at = stop;
    }
    if (dropped)
        records.push_back(gapFrom(next()));
    return reading;
}

std::vector<ChangeRecord::State> settledStates(const LogReading& reading,
                                               const ImageState& inImage) {
    std::vector<ChangeRecord::State> states;
    using State = ChangeRecord::State;
    for (const ChangeRecord& record : reading.records) {
        const bool last = states.size() + 1 == reading.records.size();
        const bool unsettled = record.state == State::Unknown || record.state == State::Pending;
        states.push_back(!unsettled                       ? record.state
                         : !last                          ? State::Done
                         : record.state == State::Unknown ? inImage(record)
                                                          : State::Pending);
    }
    return states;
}

}  // namespace tavrel
