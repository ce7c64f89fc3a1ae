// One record of the change log and its bytes in the log file (docs/change-log.md): a header
// with the body's length and checksum, the body, and a state mark outside the checksum that is
// rewritten in place once the change is in the image. Version 2 writes the mark as four bytes
// that no single changed byte turns into another state; version 3 adds records that stand for
// changes lost to damage; version 1 logs (one state byte) are still read.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/image_edit.h"
#include "platform/platform.h"

namespace tavrel {

struct ChangeRecord {
    enum class State : std::uint8_t {
        Pending = 'P',
        Done = 'D',
        Aborted = 'A',
        Unknown = '?',  // the mark could not be read; the session works it out from the image
    };

    std::uint64_t sequence = 0;
    std::int64_t time = 0;              // UTC, seconds since 1970
    std::vector<std::uint64_t> undoes;  // the changes this one takes back; none for a change
    std::uint32_t checksumSectors = 0;  // sectors whose EDC and ECC the change rewrote
    std::string description;
    std::vector<ByteChange> runs;  // only bytes whose value changes
    State state = State::Pending;
    std::int64_t markOffset = 0;  // where the state mark lies in the log file
    // The record stands for changes the log lost to damage, from `sequence` on: nothing before
    // it can be undone, nor judged against the image, as the lost changes may have written over
    // it. Only version 3 writes it.
    bool gap = false;
};

inline constexpr std::array<std::uint8_t, 8> kLogMagic = {'T', 'A', 'V', 'R', 'E', 'L', 'O', 'G'};
inline constexpr std::array<std::uint8_t, 4> kRecordMagic = {'T', 'R', 'E', 'C'};
// The newest version read and written. A log is written in the oldest version that holds its
// records (logVersionFor), so that an older Tavrel keeps reading a log without gaps.
inline constexpr std::uint32_t kLogVersion = 3;
inline constexpr std::size_t kLogHeaderSize = 32;
inline constexpr std::size_t kLogHeaderSizeV1 = 16;
inline constexpr std::size_t kRecordHeaderSize = 12;  // "TREC", body length, body checksum

std::uint32_t logVersionFor(const std::vector<ChangeRecord>& records);

// The log's first bytes: "TAVRELOG", the version, four reserved bytes, and the identity of the
// image file the log was started for.
Bytes encodeLogHeader(const sys::FileIdentity& image, std::uint32_t version);
// The identity in a header, written in place when a log meets its image under another identity.
inline constexpr std::size_t kHeaderIdentityAt = 16;
Bytes encodeIdentity(const sys::FileIdentity& image);

// The whole record in `version` (2 or 3), its mark saying `record.state`.
Bytes encodeRecord(const ChangeRecord& record, std::uint32_t version);
// The state mark alone, as rewritten in place.
Bytes encodeMark(ChangeRecord::State state);
std::size_t markSize(std::uint32_t version);

// The state a mark says; Unknown when its bytes are no mark of the version.
ChangeRecord::State decodeMark(std::span<const std::uint8_t> mark, std::uint32_t version);
// The fields of a body whose checksum was found right; none when they do not fill it exactly.
std::optional<ChangeRecord> decodeBody(std::span<const std::uint8_t> body, std::uint32_t version);

}  // namespace tavrel
