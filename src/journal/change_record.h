// One record of the change log and its bytes in the log file (docs/change-log.md): a header
// with the body's length and checksum, the body, and a state mark outside the checksum that is
// rewritten in place once the change is in the image. Version 2 writes the mark as four bytes
// that no single changed byte turns into another state; version 1 logs (one state byte) are
// still read.
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
};

inline constexpr std::array<std::uint8_t, 8> kLogMagic = {'T', 'A', 'V', 'R', 'E', 'L', 'O', 'G'};
inline constexpr std::array<std::uint8_t, 4> kRecordMagic = {'T', 'R', 'E', 'C'};
inline constexpr std::uint32_t kLogVersion = 2;
inline constexpr std::size_t kLogHeaderSize = 32;
inline constexpr std::size_t kLogHeaderSizeV1 = 16;
inline constexpr std::size_t kRecordHeaderSize = 12;  // "TREC", body length, body checksum

// The log's first bytes: "TAVRELOG", the version, four reserved bytes, and the identity of the
// image file the log was started for.
Bytes encodeLogHeader(const sys::FileIdentity& image);
// The identity in a header, written in place when a log meets its image under another identity.
inline constexpr std::size_t kHeaderIdentityAt = 16;
Bytes encodeIdentity(const sys::FileIdentity& image);

// The whole record, in the current version, its mark saying `record.state`.
Bytes encodeRecord(const ChangeRecord& record);
// The state mark alone, as rewritten in place.
Bytes encodeMark(ChangeRecord::State state);
std::size_t markSize(std::uint32_t version);

// The state a mark says; Unknown when its bytes are no mark of the version.
ChangeRecord::State decodeMark(std::span<const std::uint8_t> mark, std::uint32_t version);
// The fields of a body whose checksum was found right; none when they do not fill it exactly.
std::optional<ChangeRecord> decodeBody(std::span<const std::uint8_t> body, std::uint32_t version);

}  // namespace tavrel
