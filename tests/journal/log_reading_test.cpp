// The log reader on bytes built in memory with the record encoder: each kind of finding named at
// its place, what reads around it kept, a gap where a whole record was lost, and the states that
// settling gives the marks it could not read.
#include <gtest/gtest.h>

#include <functional>

#include "journal/log_reading.h"

namespace tavrel {

void PrintTo(const LogFinding& finding, std::ostream* out) {
    *out << static_cast<int>(finding.kind) << " at " << finding.offset << "+" << finding.length;
}

namespace testing {
namespace {

using Kind = LogFinding::Kind;
using State = ChangeRecord::State;

ChangeRecord change(std::uint64_t sequence, State state = State::Done) {
    ChangeRecord record;
    record.sequence = sequence;
    record.description = "c" + std::to_string(sequence);
    record.runs = {{static_cast<std::int64_t>(100 * sequence), {1, 2}, {3, 4}}};
    record.state = state;
    return record;
}

// Three changes, the last one's mark saying `last`; `at` gets where each starts, then the end.
Bytes threeChanges(State last, std::vector<std::int64_t>& at) {
    Bytes log = encodeLogHeader({7, 8}, 2);
    for (std::uint64_t sequence = 1; sequence <= 3; ++sequence) {
        at.push_back(static_cast<std::int64_t>(log.size()));
        const Bytes record = encodeRecord(change(sequence, sequence == 3 ? last : State::Done), 2);
        log.insert(log.end(), record.begin(), record.end());
    }
    at.push_back(static_cast<std::int64_t>(log.size()));
    return log;
}

// What reading kept: "1 D c1, 2 gap, 3 D c3".
std::string kept(const LogReading& reading) {
    std::string text;
    for (const ChangeRecord& r : reading.records)
        text += (text.empty() ? "" : ", ") + std::to_string(r.sequence) + " " +
                (r.gap ? "gap" : static_cast<char>(r.state) + (" " + r.description));
    return text;
}

TEST(LogReading, EachFindingIsNamedWhereItLiesAndWhatReadsAroundItIsKept) {
    std::vector<std::int64_t> at;
    const Bytes log = threeChanges(State::Done, at);
    const auto flip = [](std::int64_t offset) { return [=](Bytes& l) { l[offset] ^= 0x40; }; };
    const std::string all = "1 D c1, 2 D c2, 3 D c3";
    struct Case {
        const char* name;
        std::function<void(Bytes&)> spoil;
        Kind kind;
        std::int64_t from, to;  // where the finding lies
        std::string records;
    };
    const Case cases[] = {
        {"a record cut short", [&](Bytes& l) { l.insert(l.end(), &log[32], &log[52]); },
         Kind::TornTail, at[3], at[3] + 20, all},
        {"zeros after the last record", [](Bytes& l) { l.resize(l.size() + 64); }, Kind::TornTail,
         at[3], at[3] + 64, all},
        {"a body that does not check", flip(at[1] + 20), Kind::ChecksumMismatch, at[1], at[2],
         "1 D c1, 2 gap, 3 D c3"},
        {"the last body", flip(at[2] + 20), Kind::ChecksumMismatch, at[2], at[3],
         "1 D c1, 2 D c2, 3 gap"},
        {"bytes between records", [&](Bytes& l) { l.insert(l.begin() + at[1], 5, 'x'); },
         Kind::NotARecord, at[1], at[1] + 5, all},
        {"a record's magic", flip(at[1]), Kind::NotARecord, at[1], at[1] + 12, all},
        {"a mark zeroed before the end", [&](Bytes& l) { std::fill_n(&l[at[2] - 4], 4, 0); },
         Kind::BadMark, at[2] - 4, at[2], "1 D c1, 2 ? c2, 3 D c3"},
        {"the last mark cut off", [&](Bytes& l) { l.resize(l.size() - 4); }, Kind::LostMark, at[2],
         at[3] - 4, "1 D c1, 2 D c2, 3 ? c3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = log;
        c.spoil(bytes);
        const LogReading reading = readLog(bytes);
        EXPECT_EQ(reading.findings, (std::vector<LogFinding>{{c.from, c.to - c.from, c.kind}}));
        EXPECT_EQ(kept(reading), c.records);
    }
    // What a crash also leaves: a new log whose header did not reach the disk, only its size; a
    // last record still pending whose body does not check; a record whose first disk block did
    // not reach the disk when a later one did.
    Bytes headless = log;
    std::fill_n(headless.begin(), 32, 0);
    EXPECT_EQ(readLog(headless).kind, LogReading::Kind::Foreign) << "its records read";
    for (int record = 0; record < 3; ++record) headless[at[record] + 20] ^= 1;
    EXPECT_EQ(readLog(headless).findings,
              (std::vector<LogFinding>{{0, std::int64_t(headless.size()), Kind::TornTail}}));
    Bytes torn = log;
    torn.resize(static_cast<std::size_t>(at[3] / 512 + 1) * 512);
    torn.insert(torn.end(), {'T', 'R', 'E', 'C'});
    EXPECT_EQ(
        readLog(torn).findings,
        (std::vector<LogFinding>{{at[3], std::int64_t(torn.size()) - at[3], Kind::TornTail}}));
    at.clear();
    torn = threeChanges(State::Pending, at);
    torn[at[2] + 20] ^= 0x40;
    EXPECT_EQ(readLog(torn).findings,
              (std::vector<LogFinding>{{at[2], at[3] - at[2], Kind::TornTail}}));
    EXPECT_EQ(kept(readLog(torn)), "1 D c1, 2 D c2");
    std::fill_n(torn.end() - 4, 4, 0);  // no mark at all yet
    EXPECT_EQ(kept(readLog(torn)), "1 D c1, 2 D c2");
}

TEST(LogReading, AMarkUnreadOrPendingEndedDoneUnlessItIsTheLastOneWhoseStateTheImageSays) {
    LogReading reading;
    reading.records = {change(1, State::Unknown), change(2, State::Pending), change(3),
                       change(4, State::Unknown)};
    EXPECT_EQ(settledStates(reading, [](const ChangeRecord&) { return State::Aborted; }),
              (std::vector<State>{State::Done, State::Done, State::Done, State::Aborted}));
}

}  // namespace
}  // namespace testing
}  // namespace tavrel
