// The session over an image and its log: interrupted changes completed or refused, undo, logs
// that are not this image's, and one log for every name of the image. (Patches of a history:
// the tool's patch tests, with an applier of their own.)
#include <filesystem>

#include "journal_fixture.h"
#include "old_logs.h"

namespace tavrel::testing {
namespace {

class SessionTest : public JournalTest {
protected:
    // A change whose record reached the log but not the image: a save killed halfway.
    void interrupt(std::int64_t offset, std::uint8_t value) {
        const ImageFile file(image, ImageAccess::ReadWrite);
        ChangeLog changes(file);
        ChangeRecord record;
        record.description = "interrupted";
        record.runs = {{offset, {original()[static_cast<std::size_t>(offset)]}, {value}}};
        ASSERT_TRUE(changes.append(record));
    }
};

TEST_F(SessionTest, AnInterruptedChangeIsCompletedUnlessTheImageChangedSince) {
    interrupt(300, 0x42);
    {
        ImageSession session(image, ImageAccess::ReadOnly);  // a reader recovers too
        EXPECT_EQ(session.recovery().interrupted, Recovery::Interrupted::Completed);
        EXPECT_EQ(summary(session.history()), (std::vector<std::string>{"1 D interrupted"}));
    }
    EXPECT_EQ(readWholeFile(image)[300], 0x42);

    interrupt(400, 0x43);
    Bytes changed = readWholeFile(image);
    changed[400] = 0x44;  // neither the old nor the new byte
    writeWholeFile(image, changed);
    ImageSession session(image);
    EXPECT_EQ(session.recovery().interrupted, Recovery::Interrupted::Refused);
    EXPECT_EQ(readWholeFile(image), changed);
    EXPECT_TRUE(std::filesystem::exists(session.recovery().keptAs));
    EXPECT_TRUE(session.history().empty());
}

TEST_F(SessionTest, UndoTakesBackStepsTogetherOrNotAtAll) {
    ImageSession session(image);
    flip(session, 10, 2, "a");
    flip(session, 11, 2, "b");  // overlaps a
    flip(session, 500, 1, "c");
    Bytes changed = readWholeFile(image);

    // The second step's byte holds neither value once the first is taken back: nothing is
    // written, not even the first step.
    session.file().write(10, Bytes{0x99});
    changed[10] = 0x99;
    EXPECT_THROW(session.undo(3, "undo 3"), FileError);
    EXPECT_EQ(readWholeFile(image), changed);
    EXPECT_EQ(session.history().size(), 3u);

    session.file().write(10, Bytes{static_cast<std::uint8_t>(~original()[10])});
    session.undo(2, "undo c, b");
    EXPECT_EQ(session.history().back().undoes, (std::vector<std::uint64_t>{3, 2}));
    EXPECT_EQ(summary(session.undoable()), (std::vector<std::string>{"1 D a"}));
    session.undo(1, "undo a");
    EXPECT_EQ(readWholeFile(image), original());
    EXPECT_TRUE(session.undoable().empty());
}

TEST_F(SessionTest, ALogThatIsNotThisImagesIsKeptAsideAndReported) {
    const auto header = [](std::uint8_t version) {
        Bytes bytes{'T', 'A', 'V', 'R', 'E', 'L', 'O', 'G', version, 0, 0, 0};
        bytes.resize(40, 0);
        return bytes;
    };
    struct Case {
        Bytes log;
        Recovery::LogProblem problem;
    };
    const Case cases[] = {
        {Bytes{'h', 'e', 'l', 'l', 'o'}, Recovery::LogProblem::Foreign},
        {header(4), Recovery::LogProblem::Newer},
        {header(0), Recovery::LogProblem::Foreign},
    };
    for (std::size_t n = 0; n < std::size(cases); ++n) {
        const Case& c = cases[n];
        writeWholeFile(log, c.log);
        ImageSession session(image, ImageAccess::ReadOnly);
        EXPECT_EQ(session.recovery().problem, c.problem);
        EXPECT_EQ(session.recovery().keptAs, log + "." + std::to_string(n + 1));
        EXPECT_EQ(readWholeFile(session.recovery().keptAs), c.log);
        EXPECT_FALSE(std::filesystem::exists(log)) << "a new log starts with the next change";
    }

    // A log that no longer describes the image is kept aside: another program changed the last
    // byte of its last change.
    {
        ImageSession session(image);
        ByteChange two{10, session.file().read(10, 1), {0x01}};
        ByteChange three{20, session.file().read(20, 1), {0x02}};
        session.apply({{two, three}, "a"});
        session.file().write(20, Bytes{0x03});
    }
    {
        ImageSession session(image);
        EXPECT_EQ(session.recovery().problem, Recovery::LogProblem::Stale);
        EXPECT_TRUE(session.history().empty());
        flip(session, 30, 1, "next");  // the change of the command that set the log aside
    }
    EXPECT_EQ(summary(ImageSession(image).history()), (std::vector<std::string>{"1 D next"}));
    // A log set aside is not the image's log when the image has none.
    std::filesystem::remove(log);
    for (int opening = 0; opening < 2; ++opening)
        EXPECT_EQ(ImageSession(image).recovery().problem, Recovery::LogProblem::None);
    EXPECT_EQ(asideFiles().size(), 4u);
}

TEST_F(SessionTest, EveryNameOfTheImageMeetsTheOneLog) {
#ifdef _WIN32  // symbolic links need privileges there: a second hard link stands in
    std::filesystem::create_hard_link(image, dir.file("link.bin"));
#else
    std::filesystem::create_symlink(image, dir.file("link.bin"));
#endif
    std::filesystem::create_hard_link(image, dir.file("second.bin"));
    for (const char* name : {"image.bin", "link.bin", "second.bin"}) {
        ImageSession session(dir.file(name));
        flip(session, 1000 + static_cast<std::int64_t>(session.history().size()), 1, name);
    }
    EXPECT_EQ(summary(ImageSession(dir.file("second.bin")).history()),
              (std::vector<std::string>{"1 D image.bin", "2 D link.bin", "3 D second.bin"}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("link.bin.tavrel-log")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("second.bin.tavrel-log")));

    // A copy moved in with its log is another file with the same history: the log is kept.
    std::filesystem::copy_file(image, dir.file("copy.bin"));
    std::filesystem::copy_file(log, dir.file("copy.bin.tavrel-log"));
    EXPECT_EQ(ImageSession(dir.file("copy.bin")).history().size(), 3u);
    // It records the copy as its file since: a second name of the copy meets it.
    std::filesystem::create_hard_link(dir.file("copy.bin"), dir.file("copy-link.bin"));
    EXPECT_EQ(ImageSession(dir.file("copy-link.bin")).history().size(), 3u);
}

TEST_F(SessionTest, AVersion1LogIsReadUndoneAndRewrittenBeforeItGrows) {
    // A change, and one whose save was cut short once its record reached the log.
    ChangeRecord done, cut;
    done.sequence = 1;
    done.description = "x";
    done.runs = {{20, {original()[20]}, {0x77}}};
    done.state = ChangeRecord::State::Done;
    cut.sequence = 2;
    cut.description = "y";
    cut.runs = {{30, {original()[30]}, {0x78}}};
    writeWholeFile(log, versionOneLog({done, cut}));
    Bytes changed = original();
    changed[20] = 0x77;
    writeWholeFile(image, changed);
    {
        ImageSession session(image);
        EXPECT_EQ(session.recovery().interrupted, Recovery::Interrupted::Completed);
        EXPECT_EQ(summary(session.undoable()), (std::vector<std::string>{"2 D y", "1 D x"}));
    }
    EXPECT_EQ(readWholeFile(log)[8], 2) << "rewritten as version 2 to mark the second done";
    ImageSession session(image);
    EXPECT_EQ(session.recovery().problem, Recovery::LogProblem::None);
    EXPECT_EQ(summary(session.history()), (std::vector<std::string>{"1 D x", "2 D y"}));
    session.undo(2, "undo");
    EXPECT_EQ(readWholeFile(image), original());
}

// Two changes of the same bytes, the record of the second damaged: the first is kept, and a gap
// for the second, at every opening; nothing is judged or undone across the gap.
TEST_F(SessionTest, AMendedLogKeepsItsHistoryAndUndoStopsAtTheGap) {
    {
        ImageSession session(image);
        flip(session, 100, 4, "a");
        flip(session, 102, 4, "b");
    }
    Bytes damaged = readWholeFile(log);
    damaged[damaged.size() - 10] ^= 1;
    writeWholeFile(log, damaged);
    for (int opening = 0; opening < 3; ++opening) {
        ImageSession session(image);
        EXPECT_EQ(session.recovery().problem,
                  opening == 0 ? Recovery::LogProblem::Damaged : Recovery::LogProblem::None);
        EXPECT_EQ(summary(session.history()),
                  (std::vector<std::string>{"1 D a",
                                            "2 D modifiche perse: il registro era danneggiato"}));
        EXPECT_TRUE(session.undoable().empty());
        EXPECT_TRUE(session.undoStopsAtGap());
    }
    EXPECT_EQ(asideFiles().size(), 1u);
    ImageSession session(image);
    flip(session, 500, 1, "c");
    EXPECT_EQ(summary(session.undoable()), (std::vector<std::string>{"3 D c"}));
}

// The last record's mark cut off: a crash's leftover when its change is not in the image, cut
// off so that the next record takes its place; a damaged record when part of it is.
TEST_F(SessionTest, ALastRecordWithoutItsMarkIsALeftoverUnlessItsChangeReachedTheImage) {
    {
        ImageSession session(image);
        flip(session, 100, 1, "a");
        flip(session, 200, 2, "b");
    }
    const Bytes full = readWholeFile(log), edited = readWholeFile(image);
    const Bytes markless(full.begin(), full.end() - 4);
    Bytes halfB = edited;
    halfB[201] = original()[201];
    writeWholeFile(log, markless);
    writeWholeFile(image, halfB);
    {
        ImageSession session(image);
        EXPECT_EQ(session.recovery().problem, Recovery::LogProblem::Damaged);
        EXPECT_EQ(summary(session.history()), (std::vector<std::string>{"1 D a", "2 D b"}));
    }
    EXPECT_EQ(readWholeFile(image), edited);
    Bytes noB = edited;
    noB[200] = original()[200];
    noB[201] = original()[201];
    writeWholeFile(log, markless);
    writeWholeFile(image, noB);
    {
        ImageSession session(image);  // c goes where the record of b was
        flip(session, 300, 1, "c");
    }
    ImageSession session(image);
    EXPECT_EQ(session.recovery().problem, Recovery::LogProblem::None);
    EXPECT_EQ(summary(session.history()), (std::vector<std::string>{"1 D a", "2 D c"}));
    EXPECT_EQ(asideFiles().size(), 1u);
}

}  // namespace
}  // namespace tavrel::testing
