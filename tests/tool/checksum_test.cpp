// verify and fix-checksums on demo images: which sectors an edit leaves stale, and that a
// repair rewrites only their EDC and ECC bytes.
#include "sector/raw_sector.h"
#include "tool_fixture.h"

namespace tavrel::testing {
namespace {

// The sectors that hold the five type-table copies, Denmark's (team 13's) palette, which runs
// across a sector end, and the net bytes; worked out by hand from the game's offsets.
const std::vector<std::int64_t> kEditedSectors = {820, 852, 989, 2085, 2428, 5335, 5336, 6109};

std::vector<std::int64_t> listedSectors(const std::string& out) {
    std::vector<std::int64_t> sectors;
    for (std::size_t at = out.find("settore "); at != std::string::npos;
         at = out.find("settore ", at + 1))
        sectors.push_back(std::stoll(out.substr(at + 8)));
    return sectors;
}

// Every offset where the images differ lies in the EDC and ECC of one of `sectors`.
void expectOnlyChecksumsOf(const Bytes& before, const Bytes& after,
                           const std::vector<std::int64_t>& sectors) {
    const auto changed = differingOffsets(before, after);
    EXPECT_FALSE(changed.empty());
    for (const std::int64_t offset : changed) {
        const std::int64_t sector = offset / kRawSectorSize;
        EXPECT_TRUE(std::count(sectors.begin(), sectors.end(), sector)) << offset;
        EXPECT_GE(offset % kRawSectorSize, 2072) << offset;
    }
}

TEST_F(ToolTest, AnEditLeavesItsSectorsStaleUntilTheirChecksumsAreFixed) {
    EXPECT_EQ(tool("verify game.bin").status, 0);
    ASSERT_EQ(tool("apply game.bin denmark --design 58").status, 0);
    ASSERT_EQ(tool("nets game.bin rombi").status, 0);
    const ToolRun stale = tool("verify game.bin");
    EXPECT_EQ(stale.status, 1);
    EXPECT_EQ(listedSectors(stale.out), kEditedSectors) << stale.out;
    EXPECT_EQ(listedSectors(tool("verify game.bin --touched").out), kEditedSectors);

    const Bytes edited = readWholeFile(image);
    const ToolRun fixed = tool("fix-checksums game.bin");
    EXPECT_EQ(fixed.status, 0);
    EXPECT_EQ(listedSectors(fixed.out), kEditedSectors);
    EXPECT_EQ(tool("verify game.bin").status, 0);
    expectOnlyChecksumsOf(edited, readWholeFile(image), kEditedSectors);
}

TEST_F(ToolTest, OnlyARepairOfAllSectorsTouchesOneTavrelNeverWrites) {
    Bytes corrupt = demoImage();
    corrupt[3000 * kRawSectorSize + 100] ^= 0x01;    // user data of a sector no edit touches
    corrupt[820 * kRawSectorSize + kModeAt] = 0x03;  // a touched sector of another mode
    writeWholeFile(image, corrupt);
    EXPECT_EQ(listedSectors(tool("verify game.bin").out), (std::vector<std::int64_t>{3000}));
    const ToolRun touched = tool("fix-checksums game.bin");
    EXPECT_NE(touched.out.find("settore 820: modo 3, lasciato com'è"), std::string::npos)
        << touched.out;
    EXPECT_EQ(readWholeFile(image), corrupt);
    EXPECT_EQ(tool("fix-checksums game.bin --all").status, 0);
    EXPECT_EQ(tool("verify game.bin").status, 0);
    expectOnlyChecksumsOf(corrupt, readWholeFile(image), {3000});
}

}  // namespace
}  // namespace tavrel::testing
