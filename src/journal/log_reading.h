// What a change log's bytes hold: its records, and a named finding for every stretch that is no
// readable record. Only what a crash can leave is a torn tail: a tail shorter than its header
// says with no readable record after it, or a last record still pending whose own check fails
// (the image is written only after a record is on the disk). Anything else is damage, and
// reading goes on past it to the next record that reads. Where damage took a whole record (the
// sequence numbers skip, or nothing follows), a gap record stands in its place.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "journal/change_record.h"

namespace tavrel {

struct LogFinding {
    enum class Kind {
        TornTail,          // what a crash leaves at the end: cut off without a word
        ChecksumMismatch,  // a record whose body does not match its checksum: it is lost
        NotARecord,        // bytes that frame no record; a body that checks inside is kept
        BadMark,           // a record's state mark is no mark: the record is kept
        LostMark,          // the last record's mark cut off with the end of the file
    };
    std::int64_t offset = 0;
    std::int64_t length = 0;
    Kind kind = Kind::TornTail;
    friend bool operator==(const LogFinding&, const LogFinding&) = default;
};

struct LogReading {
    enum class Kind {
        Empty,    // no bytes, or a header cut short while the log was being created
        Ours,     // a log of a version this program reads
        Foreign,  // not a change log of Tavrel's
        Newer,    // a change log of a later version
    };
    Kind kind = Kind::Empty;
    std::uint32_t version = 2;
    sys::FileIdentity identity;  // the image the log was started for (version 2 on)
    std::vector<ChangeRecord> records;
    std::vector<LogFinding> findings;
    std::int64_t size = 0;  // of the bytes read

    // Where a torn tail starts, where the next record goes once it is cut off.
    std::int64_t end() const;
    bool torn() const;
    // Damage is any finding but a torn tail; a lost mark counts once it is known to be no
    // crash's leftover (ChangeLog::settle).
    bool damaged() const;
};

LogReading readLog(std::span<const std::uint8_t> bytes);

// The state of every record once the marks that could not be read, or that still say pending,
// are settled: a record followed by others ended, done (a change ends done unless its write
// failed, and then its mark says so, synced; a mark left pending was lost with the power). The
// last one's unreadable mark is what `inImage` says of its bytes: Done, Aborted (none of them
// there: a lost mark's record is then a crash's leftover) or Pending.
using ImageState = std::function<ChangeRecord::State(const ChangeRecord&)>;
std::vector<ChangeRecord::State> settledStates(const LogReading& reading,
                                               const ImageState& inImage);

}  // namespace tavrel
