// What a change log's bytes hold: its records, and what stands between them that is no record.
// Only what a crash can leave is called torn: a tail shorter than its header says with no
// readable record after it, or a last record still pending whose own check fails (the image is
// written only after a record is on the disk). Anything else is damage, and reading goes on
// past it to the next record that reads.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "journal/change_record.h"

namespace tavrel {

struct LogReading {
    enum class Kind {
        Empty,    // no bytes, or a header cut short while the log was being created
        Ours,     // a log of a version this program reads
        Foreign,  // not a change log of Tavrel's
        Newer,    // a change log of a later version
    };
    Kind kind = Kind::Empty;
    std::uint32_t version = kLogVersion;
    sys::FileIdentity identity;  // the image the log was started for (version 2)
    std::vector<ChangeRecord> records;
    std::int64_t end = 0;  // where the records end; a torn tail starts here
    bool torn = false;
    int damage = 0;  // places where bytes that are no record, or no whole one, stood
    // The last record's body reads but its mark was cut off: a crash leftover when the image
    // holds none of its bytes, a damaged record otherwise.
    bool lastMarkMissing = false;
};

LogReading readLog(std::span<const std::uint8_t> bytes);

}  // namespace tavrel
