// Encoding and decoding change records: little-endian integers, lengths before contents.
#include "journal/change_record.h"

#include <algorithm>

#include "sector/byte_order.h"
#include "sector/edc.h"

namespace tavrel {
namespace {

void put(Bytes& out, std::uint64_t value, int bytes) {
    appendLittleEndian(out, value, static_cast<std::size_t>(bytes));
}

void putBytes(Bytes& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Reads from a body whose every length has still to be checked against its end.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool take(std::uint64_t& value, int size) {
        if (!has(static_cast<std::size_t>(size)))
            return false;
        value = littleEndian(bytes_, at_, static_cast<std::size_t>(size));
        at_ += static_cast<std::size_t>(size);
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

// Version 1 names at most one change taken back, 0 for none; version 2 counts them.
bool takeUndoes(Reader& reader, std::uint32_t version, std::vector<std::uint64_t>& undoes) {
    std::uint64_t count = 1, sequence = 0;
    if (version >= 2 && !reader.take(count, 4))
        return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (!reader.take(sequence, 8))
            return false;
        if (sequence != 0)
            undoes.push_back(sequence);
    }
    return true;
}

bool takeRuns(Reader& reader, std::vector<ByteChange>& runs) {
    std::uint64_t count = 0;
    if (!reader.take(count, 4))
        return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t offset = 0, size = 0;
        ByteChange run;
        if (!reader.take(offset, 8) || !reader.take(size, 4) || size == 0 ||
            !reader.take(run.before, size) || !reader.take(run.after, size))
            return false;
        run.offset = static_cast<std::int64_t>(offset);
        runs.push_back(std::move(run));
    }
    return true;
}

}  // namespace

std::uint32_t logVersionFor(const std::vector<ChangeRecord>& records) {
    return std::any_of(records.begin(), records.end(), [](const ChangeRecord& r) { return r.gap; })
               ? 3
               : 2;
}

Bytes encodeLogHeader(const sys::FileIdentity& image, std::uint32_t version) {
    Bytes header(kLogMagic.begin(), kLogMagic.end());
    put(header, version, 4);
    put(header, 0, 4);
    putBytes(header, encodeIdentity(image));
    return header;
}

Bytes encodeIdentity(const sys::FileIdentity& image) {
    Bytes bytes;
    put(bytes, image.device, 8);
    put(bytes, image.file, 8);
    return bytes;
}

std::size_t markSize(std::uint32_t version) {
    return version >= 2 ? 4 : 1;
}

// The letter, its complement, the letter, its complement: any two marks differ in every byte,
// and no single changed byte leaves a mark.
Bytes encodeMark(ChangeRecord::State state) {
    const auto letter = static_cast<std::uint8_t>(state);
    const auto complement = static_cast<std::uint8_t>(~letter);
    return {letter, complement, letter, complement};
}

ChangeRecord::State decodeMark(std::span<const std::uint8_t> mark, std::uint32_t version) {
    using State = ChangeRecord::State;
    if (mark.size() != markSize(version))
        return State::Unknown;
    const auto state = static_cast<State>(mark[0]);
    if (state != State::Pending && state != State::Done && state != State::Aborted)
        return State::Unknown;
    const bool whole =
        version < 2 || std::equal(mark.begin(), mark.end(), encodeMark(state).begin());
    return whole ? state : State::Unknown;
}

Bytes encodeRecord(const ChangeRecord& record, std::uint32_t version) {
    Bytes body;
    if (version >= 3)
        body.push_back(record.gap ? 1 : 0);
    put(body, record.sequence, 8);
    put(body, static_cast<std::uint64_t>(record.time), 8);
    put(body, record.undoes.size(), 4);
    for (const std::uint64_t sequence : record.undoes) put(body, sequence, 8);
    put(body, record.checksumSectors, 4);
    put(body, record.description.size(), 4);
    body.insert(body.end(), record.description.begin(), record.description.end());
    put(body, record.runs.size(), 4);
    for (const ByteChange& run : record.runs) {
        put(body, static_cast<std::uint64_t>(run.offset), 8);
        put(body, run.after.size(), 4);
        putBytes(body, run.before);
        putBytes(body, run.after);
    }
    Bytes out(kRecordMagic.begin(), kRecordMagic.end());
    put(out, body.size(), 4);
    put(out, edc(body), 4);
    putBytes(out, body);
    putBytes(out, encodeMark(record.state));
    return out;
}

std::optional<ChangeRecord> decodeBody(std::span<const std::uint8_t> body, std::uint32_t version) {
    ChangeRecord record;
    Reader reader(body);
    std::uint64_t kind = 0, time = 0, size = 0, sectors = 0;
    Bytes description;
    const bool whole = (version < 3 || (reader.take(kind, 1) && kind <= 1)) &&
                       reader.take(record.sequence, 8) && reader.take(time, 8) &&
                       takeUndoes(reader, version, record.undoes) &&
                       (version < 2 || reader.take(sectors, 4)) && reader.take(size, 4) &&
                       reader.take(description, size) && takeRuns(reader, record.runs);
    if (!whole || !reader.atEnd())
        return std::nullopt;
    record.gap = kind == 1;
    record.time = static_cast<std::int64_t>(time);
    record.checksumSectors = static_cast<std::uint32_t>(sectors);
    record.description.assign(description.begin(), description.end());
    return record;
}

}  // namespace tavrel
