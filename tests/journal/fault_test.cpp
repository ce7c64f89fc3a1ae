// The log when a write fails on the way, through the preload fault shim: a change whose image
// write failed is aborted for good, and a damaged log that cannot be set aside says so.
#include "fault_injection.h"
#include "journal_fixture.h"

namespace tavrel::testing {
namespace {

class JournalFaultTest : public JournalTest {
protected:
    void SetUp() override {
        if (FaultInjection::calls() < 0)
            GTEST_SKIP() << "runs with the fault shim preloaded";
        JournalTest::SetUp();
    }
};

TEST_F(JournalFaultTest, AChangeWhoseImageWriteFailedIsAbortedForGood) {
    {
        ImageSession session(image);
        // The log's header, the record, then the image's write.
        FaultInjection fault("pwrite 3 EIO");
        EXPECT_THROW(flip(session, 10, 1, "failed"), FileError);
        EXPECT_TRUE(session.undoable().empty());
    }
    EXPECT_EQ(readWholeFile(image), original());
    ImageSession session(image);
    EXPECT_EQ(session.recovery().problem, Recovery::LogProblem::None);
    EXPECT_EQ(summary(session.history()), (std::vector<std::string>{"1 A failed"}));
    EXPECT_TRUE(session.undoable().empty());
}

TEST_F(JournalFaultTest, ADamagedLogThatCannotBeSetAsideSaysWhyAndIsLeftAlone) {
    {
        ImageSession session(image);
        flip(session, 10, 1, "a");
        flip(session, 20, 1, "b");
    }
    Bytes damaged = readWholeFile(log);
    damaged[50] ^= 1;  // the first record's body
    writeWholeFile(log, damaged);
    FaultInjection fault("rename 1 EACCES");
    ImageSession session(image);
    EXPECT_EQ(session.recovery().problem, Recovery::LogProblem::Damaged);
    EXPECT_TRUE(session.recovery().keptAs.empty());
    ASSERT_TRUE(session.logFailure().has_value());
    EXPECT_FALSE(session.logging());
    EXPECT_EQ(summary(session.history()), (std::vector<std::string>{"2 D b"}));
    flip(session, 30, 1, "unlogged");
    EXPECT_EQ(readWholeFile(log), damaged);
    EXPECT_TRUE(asideFiles().empty());
}

}  // namespace
}  // namespace tavrel::testing
