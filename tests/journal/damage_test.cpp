// Every single-byte change of every record of a log, and every length it can be cut to: the
// log reads as before, or loses what only a crash leaves, or is reported with the whole damaged
// log kept aside and every record that still reads kept. Never a silent loss.
#include <filesystem>
#include <functional>

#include "journal_fixture.h"

namespace tavrel::testing {
namespace {

constexpr std::size_t kHeader = 32, kRecordHead = 12, kMark = 4;

class DamageTest : public JournalTest {
protected:
    void SetUp() override {
        JournalTest::SetUp();
        {
            ImageSession session(image);
            const std::int64_t places[] = {100, 2000, 5000, 20000, 40000};
            for (std::size_t k = 0; k < std::size(places); ++k)
                flip(session, places[k], 1 + 7 * k, "change " + std::to_string(k + 1));
        }
        logBytes = readWholeFile(log);
        edited = readWholeFile(image);
        history = summary(ImageSession(image).history());
        // Where each record starts, from the lengths in their headers.
        for (std::size_t at = kHeader; at < logBytes.size();
             at += kRecordHead + kMark + (logBytes[at + 4] | logBytes[at + 5] << 8)) {
            starts.push_back(at);
        }
        starts.push_back(logBytes.size());
    }

    // Opens the image over `damaged` as its log; the history it keeps and whether the damage
    // was reported with the log kept aside as it was.
    std::pair<std::vector<std::string>, bool> reopen(const Bytes& damaged) {
        for (const std::string& name : asideFiles()) std::filesystem::remove(dir.file(name));
        writeWholeFile(log, damaged);
        ImageSession session(image);
        const Recovery& recovery = session.recovery();
        const bool reported = recovery.problem == Recovery::LogProblem::Damaged;
        EXPECT_TRUE(!reported || readWholeFile(recovery.keptAs) == damaged);
        EXPECT_EQ(readWholeFile(image), edited) << "recovery wrote into the image";
        return {summary(session.history()), reported};
    }

    std::vector<std::string> without(std::size_t record) const {
        std::vector<std::string> kept = history;
        kept.erase(kept.begin() + static_cast<long>(record));
        return kept;
    }

    Bytes logBytes, edited;
    std::vector<std::string> history;
    std::vector<std::size_t> starts;  // of each record, then the end of the log
};

TEST_F(DamageTest, EveryChangedByteIsReportedAndOnlyAnUnreadableRecordIsLost) {
    ASSERT_EQ(starts.size(), 6u);
    for (std::size_t r = 0; r + 1 < starts.size(); ++r) {
        for (std::size_t at = starts[r]; at < starts[r + 1]; ++at) {
            Bytes damaged = logBytes;
            damaged[at] ^= 0x5A;
            // The magic and length are framing the next record makes good; the checksum and
            // body are the record; the mark is checked on its own.
            const std::size_t inRecord = at - starts[r];
            const bool readable = inRecord < 8 || at >= starts[r + 1] - kMark;
            const auto [records, reported] = reopen(damaged);
            EXPECT_TRUE(reported) << "byte " << at;
            EXPECT_EQ(records, readable ? history : without(r)) << "byte " << at;
            // The log rewritten reads cleanly the next time.
            EXPECT_EQ(ImageSession(image).recovery().problem, Recovery::LogProblem::None) << at;
        }
    }
}

TEST_F(DamageTest, ACutLogLosesOnlyARecordThatNeverReachedTheDiskWhole) {
    for (std::size_t length = 0; length < logBytes.size(); ++length) {
        const auto [records, wasReported] =
            reopen(Bytes(logBytes.begin(), logBytes.begin() + static_cast<long>(length)));
        // The records that end before the cut stay; one whose mark alone is cut reached the
        // image, so it stays too, and the cut is reported.
        std::size_t whole = 0;
        while (whole + 1 < starts.size() && starts[whole + 1] <= length) ++whole;
        const bool markCut = whole + 1 < starts.size() && length >= starts[whole + 1] - kMark;
        EXPECT_EQ(wasReported, markCut) << length;
        EXPECT_EQ(records, std::vector<std::string>(
                               history.begin(),
                               history.begin() + static_cast<long>(whole + (markCut ? 1 : 0))))
            << length;
    }
}

TEST_F(DamageTest, AnInterruptedRecordWhoseBodyDoesNotCheckIsACrashLeftover) {
    // The state of a save killed after its record reached the disk, before the image did.
    {
        const ImageFile file(image, ImageAccess::ReadWrite);
        ChangeLog changes(file);
        ChangeRecord record;
        record.description = "interrupted";
        record.runs = {{60000, {original()[60000]}, {0x42}}};
        ASSERT_TRUE(changes.append(record));
    }
    const Bytes withPending = readWholeFile(log);
    for (const std::size_t at : {withPending.size() - kMark - 1, starts[5] + 8}) {
        Bytes damaged = withPending;
        damaged[at] ^= 0x01;
        const auto [records, reported] = reopen(damaged);
        EXPECT_FALSE(reported) << at;
        EXPECT_EQ(records, history) << at;
        EXPECT_TRUE(asideFiles().empty());
    }
}

// Shapes a single changed byte cannot make: zeros a crash leaves, whole marks lost, and marks
// whose change later changes wrote over. "c" takes byte 100 back to what it was before "a".
TEST_F(JournalTest, ZerosAndLostMarksAreReadForWhatTheyCanBe) {
    std::vector<std::size_t> marks;
    {
        ImageSession session(image);
        flip(session, 100, 1, "a");
        flip(session, 200, 1, "b");
        flip(session, 100, 2, "c");
        for (const ChangeRecord& record : session.history())
            marks.push_back(static_cast<std::size_t>(record.markOffset));
    }
    const Bytes logBytes = readWholeFile(log), edited = readWholeFile(image);
    Bytes beforeC = edited;  // as "a" and "b" left it
    beforeC[100] = static_cast<std::uint8_t>(~beforeC[100]);
    beforeC[101] = static_cast<std::uint8_t>(~beforeC[101]);
    const auto mark = [](Bytes& log, std::size_t at, const Bytes& bytes) {
        std::copy(bytes.begin(), bytes.end(), log.begin() + static_cast<long>(at));
    };
    const Bytes zeros(kMark, 0), aborted = encodeMark(ChangeRecord::State::Aborted);
    struct Case {
        const char* name;
        std::function<void(Bytes& log, Bytes& image)> spoil;
        bool reported;
        std::vector<std::string> history;
    };
    const Case cases[] = {
        {"zeros after the last record",
         [](Bytes& l, Bytes&) { l.resize(l.size() + 64, 0); },
         false,
         {"1 D a", "2 D b", "3 D c"}},
        {"a last record never written whole: no mark, a body that does not check",
         [&](Bytes& l, Bytes& i) {
             mark(l, marks[2], zeros);
             l[marks[2] - 1] ^= 1;
             i = beforeC;
         },
         false,
         {"1 D a", "2 D b"}},
        {"a middle mark zeroed before an aborted last change",
         [&](Bytes& l, Bytes& i) {
             mark(l, marks[1], zeros);
             mark(l, marks[2], aborted);
             i = beforeC;
         },
         true,
         {"1 D a", "2 D b", "3 A c"}},
        {"a mark damaged after a later change wrote over its byte",
         [&](Bytes& l, Bytes&) { l[marks[0]] ^= 0x40; },
         true,
         {"1 D a", "2 D b", "3 D c"}},
        {"a last mark cut off, half its change in the image",
         [&](Bytes& l, Bytes& i) {
             l.resize(marks[2]);
             i[101] = beforeC[101];
         },
         true,
         {"1 D a", "2 D b", "3 D c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& name : asideFiles()) std::filesystem::remove(dir.file(name));
        Bytes spoiledLog = logBytes, spoiledImage = edited;
        c.spoil(spoiledLog, spoiledImage);
        writeWholeFile(log, spoiledLog);
        writeWholeFile(image, spoiledImage);
        ImageSession session(image);
        EXPECT_EQ(session.recovery().problem == Recovery::LogProblem::Damaged, c.reported);
        EXPECT_EQ(summary(session.history()), c.history);
        EXPECT_EQ(readWholeFile(image), c.history.back() == "3 D c" ? edited : spoiledImage);
    }
}

}  // namespace
}  // namespace tavrel::testing
