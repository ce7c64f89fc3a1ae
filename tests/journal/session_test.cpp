// The session over an image and its log: interrupted changes completed or refused, undo, logs
// that are not this image's, and one log for every name of the image.
#include <filesystem>

#include "journal/change_record.h"
#include "sector/edc.h"
#include "journal_fixture.h"

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
        {header(3), Recovery::LogProblem::Newer},
        {header(0), Recovery::LogProblem::Foreign},
    };
    for (const Case& c : cases) {
        writeWholeFile(log, c.log);
        ImageSession session(image, ImageAccess::ReadOnly);
        EXPECT_EQ(session.recovery().problem, c.problem);
        EXPECT_EQ(readWholeFile(session.recovery().keptAs), c.log);
        EXPECT_FALSE(std::filesystem::exists(log)) << "a new log starts with the next change";
    }

    // A log that no longer describes the image (a fresh copy put in its place) is kept aside.
    {
        ImageSession session(image);
        flip(session, 10, 1, "a");
    }
    writeWholeFile(image, original());
    ImageSession session(image);
    EXPECT_EQ(session.recovery().problem, Recovery::LogProblem::Stale);
    EXPECT_TRUE(session.history().empty());
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
}

TEST_F(SessionTest, AVersion1LogIsReadAndRewrittenBeforeItGrows) {
    // "TAVRELOG" 1, then one done record of the first format: one state byte, one undone number.
    Bytes v1{'T', 'A', 'V', 'R', 'E', 'L', 'O', 'G', 1, 0, 0, 0, 0, 0, 0, 0};
    Bytes body = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                  1, 0, 0, 0, 'x', 1, 0, 0, 0, 20, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    body.push_back(original()[20]);
    body.push_back(0x77);
    const std::uint32_t check = edc(body);
    v1.insert(v1.end(), {'T', 'R', 'E', 'C', static_cast<std::uint8_t>(body.size()), 0, 0, 0});
    for (int i = 0; i < 4; ++i) v1.push_back(static_cast<std::uint8_t>(check >> (8 * i)));
    v1.insert(v1.end(), body.begin(), body.end());
    v1.push_back('D');
    writeWholeFile(log, v1);
    Bytes changed = original();
    changed[20] = 0x77;  // the record's change is in the image
    writeWholeFile(image, changed);
    {
        ImageSession session(image);
        EXPECT_EQ(summary(session.history()), (std::vector<std::string>{"1 D x"}));
        flip(session, 30, 1, "y");
    }
    EXPECT_EQ(readWholeFile(log)[8], 2);
    EXPECT_EQ(summary(ImageSession(image).history()),
              (std::vector<std::string>{"1 D x", "2 D y"}));
}

}  // namespace
}  // namespace tavrel::testing
