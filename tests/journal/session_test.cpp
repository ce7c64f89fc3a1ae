// The session over an image and its log: interrupted changes completed or refused, undo, logs
// that are not this image's, and one log for every name of the image.
#include <filesystem>

#include "journal/change_record.h"
#include "journal/ppf_patch.h"
#include "journal_fixture.h"
#include "sector/edc.h"

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
    ImageSession session(image);
    EXPECT_EQ(session.recovery().problem, Recovery::LogProblem::Stale);
    EXPECT_TRUE(session.history().empty());
}

TEST_F(SessionTest, APatchOfLongRunsGivesTheImageBackOnAnUnmodifiedCopy) {
    {
        ImageSession session(image);
        flip(session, 1000, 600, "long");  // more than two records of 255 bytes
        flip(session, 1300, 2, "inside");
        flip(session, 9000, 1, "single");
        session.undo(1, "undo single");
    }
    ImageSession session(image, ImageAccess::ReadOnly);
    const Bytes patch = encodePpf3(netChanges(session.history(), session.file()), "test");
    // PPF 3.0 read here on its own: a 60-byte header ("PPF30", method 2, the description, image
    // type, block check, undo data, a reserved byte), then offset, length, new and old bytes.
    ASSERT_GE(patch.size(), 60u);
    EXPECT_EQ(std::string(patch.begin(), patch.begin() + 6), std::string("PPF30\x02"));
    EXPECT_EQ(std::string(patch.begin() + 6, patch.begin() + 10), "test");
    EXPECT_EQ(patch[58], 1) << "undo data";
    Bytes copy = original();
    for (std::size_t at = 60; at < patch.size();) {
        std::uint64_t offset = 0;
        for (int i = 0; i < 8; ++i) offset |= std::uint64_t{patch[at + i]} << (8 * i);
        const std::size_t length = patch[at + 8];
        ASSERT_GT(length, 0u);
        for (std::size_t i = 0; i < length; ++i) {
            EXPECT_EQ(copy[offset + i], patch[at + 9 + length + i]) << "undo data";
            copy[offset + i] = patch[at + 9 + i];
        }
        at += 9 + 2 * length;
    }
    EXPECT_EQ(copy, readWholeFile(image));
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
    Bytes body = {1, 0, 0, 0, 0, 0,   0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                  0, 1, 0, 0, 0, 'x', 1, 0, 0, 0, 20, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
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
    EXPECT_EQ(summary(ImageSession(image).history()), (std::vector<std::string>{"1 D x", "2 D y"}));
}

}  // namespace
}  // namespace tavrel::testing
