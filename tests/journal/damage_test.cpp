// Every single-byte change of every record of a log, and every length it can be cut to: the
// log reads as before, or loses what only a crash leaves, or is reported with the whole damaged
// log kept aside, every record that still reads kept and a gap for one that does not. Never a
// silent loss.
#include <filesystem>

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

    // The history with a gap in place of the record lost.
    std::vector<std::string> lost(std::size_t record) const {
        std::vector<std::string> kept = history;
        kept[record] =
            std::to_string(record + 1) + " D modifiche perse: il registro era danneggiato";
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
            EXPECT_EQ(records, readable ? history : lost(r)) << "byte " << at;
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

}  // namespace
}  // namespace tavrel::testing
