// One record of the change log, and its bytes in the log file (docs/change-log.md): a header
// with the body's length and checksum, the body, and a state byte outside the checksum that is
// marked in place once the change is in the image.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/image_edit.h"

namespace tavrel {

struct ChangeRecord {
    enum class State : std::uint8_t { Pending = 'P', Done = 'D', Aborted = 'A' };

    std::uint64_t sequence = 0;
    std::int64_t time = 0;     // UTC, seconds since 1970
    std::uint64_t undoes = 0;  // the sequence number of the change this one takes back, or 0
    std::string description;
    std::vector<ByteChange> runs;  // only bytes whose value changes
    State state = State::Pending;
    std::int64_t stateOffset = 0;  // where the state byte lies in the log file
};

// The first bytes of every log file: "TAVRELOG", format version 1, four reserved bytes.
inline constexpr std::array<std::uint8_t, 16> kLogHeader = {'T', 'A', 'V', 'R', 'E', 'L', 'O', 'G',
                                                            1,   0,   0,   0,   0,   0,   0,   0};

Bytes encodeRecord(const ChangeRecord& record);

// The record that starts at `at` in `log`, with `at` moved past it; none when the bytes there
// are not one whole, intact record (a record torn by a crash, or anything else).
std::optional<ChangeRecord> decodeRecord(std::span<const std::uint8_t> log, std::size_t& at);

// True when the bytes from `at` on, which decodeRecord refused, are what a crash leaves at the
// end of a log: a record cut short or never filled in. Anything else is damage to the log.
bool tornTail(std::span<const std::uint8_t> log, std::size_t at);

// The runs of bytes an edit really changes, with their old and new values.
std::vector<ByteChange> changedRuns(const std::vector<ByteChange>& changes);

}  // namespace tavrel
