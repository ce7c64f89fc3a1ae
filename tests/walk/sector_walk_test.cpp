// The walk over an image's sectors: whatever the path, chunk size and worker count, it finds
// what one pass over the bytes finds, in the same order; repairs rewrite exactly the checksums
// of the sectors that need it; a failure on any thread reaches the caller.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "image/image_file.h"
#include "sector_samples.h"
#include "test_files.h"
#include "walk/image_verify.h"
#include "walk/sector_repairs.h"

namespace tavrel::testing {
namespace {

// `sectors` random sectors of every kind in turn, about half of them with a spoiled data byte,
// then `trailing` bytes of one more.
Bytes sampleImage(std::size_t sectors, std::size_t trailing = 0) {
    std::mt19937 random(5);
    Bytes image;
    for (std::size_t i = 0; i <= sectors; ++i) {
        Sector s = randomSector(i, random);
        s[100 + random() % 1900] ^= random() % 2 == 0 ? 0x40 : 0;
        image.insert(image.end(), s.begin(), s.begin() + (i < sectors ? s.size() : trailing));
    }
    return image;
}

VerifyTally onePass(const Bytes& image) {
    VerifyTally tally;
    const std::size_t whole = image.size() / kRawSectorSize * kRawSectorSize;
    verifySectors(std::span(image).first(whole), 0, tally, ChecksumPath::Portable);
    return tally;
}

class SectorWalk : public ::testing::Test {
protected:
    ImageFile open(const Bytes& image) {
        writeWholeFile(dir.file("game.bin"), image);
        return ImageFile(dir.file("game.bin"), ImageAccess::ReadOnly);
    }

    TempDir dir;
};

TEST_F(SectorWalk, VerifyFindsWhatOnePassFinds) {
    struct Case {
        std::size_t sectors, trailing;
        std::int64_t chunkSectors;
        unsigned workers;
    };
    const Case cases[] = {
        {250, 1000, kWalkChunkSectors, 0},  // one chunk, then part of a sector
        {250, 0, 7, 3},                     // neither chunk size nor worker count divides 250
        {250, 2351, 1, 4},
        {5, 0, kWalkChunkSectors, 0},
        {5, 0, 2, 3},
    };
    ASSERT_GT(onePass(sampleImage(250)).badSectors, 20) << "more than the list holds";
    for (const Case& c : cases) {
        const Bytes image = sampleImage(c.sectors, c.trailing);
        const ImageFile file = open(image);
        for (const ChecksumPath path : runnableChecksumPaths()) {
            SCOPED_TRACE(::testing::Message()
                         << c.sectors << " sectors in chunks of " << c.chunkSectors << ", "
                         << c.workers << " workers, " << checksumPathName(path));
            std::vector<std::int64_t> done;
            const VerifyTally found =
                verifyImage(file,
                            [&](std::int64_t sectors, std::int64_t total) {
                                EXPECT_EQ(total, static_cast<std::int64_t>(c.sectors));
                                done.push_back(sectors);
                            },
                            {path, c.chunkSectors, c.workers});
            EXPECT_EQ(found, onePass(image));
            EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
            EXPECT_EQ(done.back(), static_cast<std::int64_t>(c.sectors));
        }
    }
}

// Runs of neighbours cut by chunk ends, sectors out of order and twice.
TEST_F(SectorWalk, ListedSectorsAreCheckedInTheOrderGiven) {
    const Bytes image = sampleImage(250);
    const ImageFile file = open(image);
    std::vector<std::int64_t> listed = {3, 200, 3};
    for (std::int64_t sector = 10; sector < 30; ++sector) listed.push_back(sector);
    for (std::int64_t sector = 240; sector > 180; --sector) listed.push_back(sector);
    VerifyTally expected;
    for (const std::int64_t sector : listed) {
        const auto bytes = std::span(image).subspan(sector * kRawSectorSize, kRawSectorSize);
        verifySectors(bytes, sector, expected, ChecksumPath::Portable);
    }
    for (const ChecksumPath path : runnableChecksumPaths())
        EXPECT_EQ(verifyImageSectors(file, listed, {path, 7, 2}), expected);
}

TEST_F(SectorWalk, RepairsRewriteTheChecksumsOfTheSectorsThatNeedIt) {
    using enum SectorKind;
    // Offsets in the sector and lengths: never Mode 1's zero bytes, 2068–2075.
    const std::map<SectorKind, std::vector<std::pair<std::int64_t, std::size_t>>> runsOfKind = {
        {Mode1, {{2064, 4}, {2076, 276}}}, {Mode2Form1, {{2072, 280}}}, {Mode2Form2, {{2348, 4}}}};
    const Bytes image = sampleImage(250);
    const ImageFile file = open(image);
    Bytes firstRepaired;
    for (const ChecksumPath path : runnableChecksumPaths()) {
        SCOPED_TRACE(checksumPathName(path));
        Bytes repaired = image;
        std::int64_t repairs = 0;
        std::vector<OtherModeSector> otherModes;
        const auto sink = [&](ChunkRepairs&& chunk) {
            for (const SectorRepair& repair : chunk.repairs) {
                ++repairs;
                std::vector<std::pair<std::int64_t, std::size_t>> runs;
                for (const ByteChange& change : repair.changes) {
                    const auto at = repaired.begin() + change.offset;
                    EXPECT_TRUE(std::equal(change.before.begin(), change.before.end(), at));
                    std::copy(change.after.begin(), change.after.end(), at);
                    runs.emplace_back(change.offset - repair.sector * kRawSectorSize,
                                      change.after.size());
                }
                EXPECT_EQ(runs, runsOfKind.at(repair.found.kind)) << repair.sector;
            }
            otherModes.insert(otherModes.end(), chunk.otherModes.begin(), chunk.otherModes.end());
        };
        findRepairs(file, sink, {}, {path, 16, 2});
        EXPECT_EQ(repairs, onePass(image).badSectors);
        EXPECT_EQ(onePass(repaired).badSectors, 0);
        std::vector<OtherModeSector> expectedOthers;
        for (std::int64_t sector = 5; sector < 250; sector += 6)
            expectedOthers.push_back({sector, 3});
        EXPECT_EQ(otherModes, expectedOthers);
        if (firstRepaired.empty())
            firstRepaired = repaired;
        EXPECT_EQ(repaired, firstRepaired);
    }
}

TEST_F(SectorWalk, AFailureOnAnyThreadReachesTheCaller) {
    const ImageFile file = open(sampleImage(250));
    int chunks = 0;
    const auto failingSink = [&](ChunkRepairs&&) {
        if (++chunks == 2)
            throw std::runtime_error("no room for the change log");
    };
    EXPECT_THROW(findRepairs(file, failingSink, {}, {activeChecksumPath(), 4, 2}),
                 std::runtime_error);
    EXPECT_EQ(chunks, 2);
    const std::vector<std::int64_t> pastTheEnd = {1, 2, 250};
    EXPECT_THROW(verifyImageSectors(file, pastTheEnd, {activeChecksumPath(), 1, 2}), FileError);
}

}  // namespace
}  // namespace tavrel::testing
