// Encoding and decoding change records: little-endian integers, lengths before contents.
#include "journal/change_record.h"

#include <algorithm>

#include "sector/edc.h"

namespace tavrel {
namespace {

constexpr std::array<std::uint8_t, 4> kRecordMagic = {'T', 'R', 'E', 'C'};
constexpr std::size_t kRecordHeaderSize = 12;  // magic, body length, body checksum

void put(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Reads from a body whose every length has still to be checked against its end.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool take(std::uint64_t& value, int size) {
        if (!has(static_cast<std::size_t>(size)))
            return false;
        value = 0;
        for (int i = 0; i < size; ++i) value |= std::uint64_t{bytes_[at_++]} << (8 * i);
        return true;
    }
    bool take(Bytes& bytes, std::uint64_t size) {
        if (!has(size))
            return false;
        bytes.assign(bytes_.begin() + static_cast<long>(at_),
                     bytes_.begin() + static_cast<long>(at_ + size));
        at_ += size;
        return true;
    }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    bool has(std::uint64_t size) const { return size <= bytes_.size() - at_; }
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

}  // namespace

Bytes encodeRecord(const ChangeRecord& record) {
    Bytes body;
    put(body, record.sequence, 8);
    put(body, static_cast<std::uint64_t>(record.time), 8);
    put(body, record.undoes, 8);
    put(body, record.description.size(), 4);
    body.insert(body.end(), record.description.begin(), record.description.end());
    put(body, record.runs.size(), 4);
    for (const ByteChange& run : record.runs) {
        put(body, static_cast<std::uint64_t>(run.offset), 8);
        put(body, run.after.size(), 4);
        body.insert(body.end(), run.before.begin(), run.before.end());
        body.insert(body.end(), run.after.begin(), run.after.end());
    }
    Bytes out(kRecordMagic.begin(), kRecordMagic.end());
    put(out, body.size(), 4);
    put(out, edc(body), 4);
    out.insert(out.end(), body.begin(), body.end());
    out.push_back(static_cast<std::uint8_t>(record.state));
    return out;
}

std::optional<ChangeRecord> decodeRecord(std::span<const std::uint8_t> log, std::size_t& at) {
    if (log.size() - at < kRecordHeaderSize + 1 ||
        !std::equal(kRecordMagic.begin(), kRecordMagic.end(), log.begin() + static_cast<long>(at)))
        return std::nullopt;
    std::uint64_t length = 0, checksum = 0;
    Reader header(log.subspan(at + kRecordMagic.size(), 8));
    header.take(length, 4);
    header.take(checksum, 4);
    if (length > log.size() - at - kRecordHeaderSize - 1)
        return std::nullopt;
    const auto body = log.subspan(at + kRecordHeaderSize, length);
    if (edc(body) != checksum)
        return std::nullopt;

    ChangeRecord record;
    Reader reader(body);
    std::uint64_t time = 0, size = 0, runs = 0;
    Bytes description;
    bool whole = reader.take(record.sequence, 8) && reader.take(time, 8) &&
                 reader.take(record.undoes, 8) && reader.take(size, 4) &&
                 reader.take(description, size) && reader.take(runs, 4);
    for (std::uint64_t i = 0; whole && i < runs; ++i) {
        std::uint64_t offset = 0;
        ByteChange run;
        whole = reader.take(offset, 8) && reader.take(size, 4) && reader.take(run.before, size) &&
                reader.take(run.after, size);
        run.offset = static_cast<std::int64_t>(offset);
        record.runs.push_back(std::move(run));
    }
    const auto state = static_cast<ChangeRecord::State>(log[at + kRecordHeaderSize + length]);
    if (!whole || !reader.atEnd() ||
        (state != ChangeRecord::State::Pending && state != ChangeRecord::State::Done &&
         state != ChangeRecord::State::Aborted))
        return std::nullopt;
    record.time = static_cast<std::int64_t>(time);
    record.description.assign(description.begin(), description.end());
    record.state = state;
    record.stateOffset = static_cast<std::int64_t>(at + kRecordHeaderSize + length);
    at += kRecordHeaderSize + length + 1;
    return record;
}

bool tornTail(std::span<const std::uint8_t> log, std::size_t at) {
    const auto rest = log.subspan(at);
    if (rest.size() >= kRecordHeaderSize &&
        std::equal(kRecordMagic.begin(), kRecordMagic.end(), rest.begin())) {
        std::uint64_t length = 0;
        Reader(rest.subspan(kRecordMagic.size(), 4)).take(length, 4);
        return kRecordHeaderSize + length + 1 >= rest.size();
    }
    return std::all_of(rest.begin(), rest.end(), [](std::uint8_t byte) { return byte == 0; });
}

std::vector<ByteChange> changedRuns(const std::vector<ByteChange>& changes) {
    std::vector<ByteChange> runs;
    for (const ByteChange& change : changes) {
        bool open = false;
        for (std::size_t i = 0; i < change.after.size(); ++i) {
            if (change.before[i] == change.after[i]) {
                open = false;
                continue;
            }
            if (!open)
                runs.push_back({change.offset + static_cast<std::int64_t>(i), {}, {}});
            runs.back().before.push_back(change.before[i]);
            runs.back().after.push_back(change.after[i]);
            open = true;
        }
    }
    return runs;
}

}  // namespace tavrel
