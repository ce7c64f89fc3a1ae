// verify and fix-checksums on demo images, and what every write does to its sectors'
// checksums: right before, right after; wrong before, exactly as they were.
#include "catalog/catalog.h"
#include "raw_image_builder.h"
#include "sector/raw_sector.h"
#include "tool_fixture.h"

namespace tavrel::testing {
namespace {

std::vector<std::int64_t> listedSectors(const std::string& out) {
    std::vector<std::int64_t> sectors;
    for (std::size_t at = out.find("settore "); at != std::string::npos;
         at = out.find("settore ", at + 1))
        sectors.push_back(std::stoll(out.substr(at + 8)));
    return sectors;
}

TEST_F(ToolTest, EveryWriteKeepsTheSectorsItTouchesValid) {
    Bytes damaged = demoImage();
    damaged[820 * kRawSectorSize + 2200] ^= 1;  // ECC of the first type-table copy's sector
    writeWholeFile(image, damaged);
    std::string plan;
    for (int team = 20; team < 40; ++team)
        plan += std::to_string(team) + " " + std::to_string(team - 9) + "\n";
    writeWholeFile(dir.file("plan.txt"), plan);
    const char* writes[] = {"apply game.bin denmark --design 58", "apply game.bin 80 --file a.flg",
                            "apply game.bin --plan plan.txt", "nets game.bin rombi"};
    for (const char* write : writes) {
        const Bytes before = readWholeFile(image);
        ASSERT_EQ(tool(write).status, 0) << write;
        // Only user data and the EDC and ECC after it change, never sync, header or subheader,
        // and never the checksums of the sector that was wrong before.
        for (const std::int64_t offset : differingOffsets(before, readWholeFile(image))) {
            const std::int64_t inSector = offset % kRawSectorSize;
            EXPECT_TRUE(inSector >= 24 && (inSector < 2072 || offset / kRawSectorSize != 820))
                << write << " at " << offset;
        }
        const ToolRun verify = tool("verify game.bin");
        EXPECT_EQ(verify.status, 1) << "a data sector is wrong";
        EXPECT_EQ(listedSectors(verify.out), (std::vector<std::int64_t>{820})) << write;
    }

    // The expert's way: the places alone.
    const Bytes before = readWholeFile(image);
    ASSERT_EQ(tool("apply game.bin denmark --design 1 --leave-checksums").status, 0);
    build::RawImageBuilder leave(before, true);
    leave.setFlag(13, catalogFlag(101));
    EXPECT_EQ(readWholeFile(image), leave.bytes());
    EXPECT_EQ(listedSectors(tool("verify game.bin --touched").out),
              (std::vector<std::int64_t>{820, 852, 989, 2085, 2428, 5335, 5336}));
}

TEST_F(ToolTest, OnlyARepairOfAllSectorsTouchesOneTavrelNeverWrites) {
    Bytes corrupt = demoImage();
    corrupt[3000 * kRawSectorSize + 100] ^= 0x01;    // user data of a sector no edit touches
    corrupt[820 * kRawSectorSize + kModeAt] = 0x03;  // a touched sector of another mode
    writeWholeFile(image, corrupt);
    EXPECT_EQ(tool("verify game.bin").out,
              "Mode 1                 0\n"
              "Mode 2 Form 1       6109   errati 1\n"
              "Mode 2 Form 2          0\n"
              "senza sync             0\n"
              "altro modo             1\n"
              "settori errati: 1\n"
              "settore    3000  0x6BAA80  EDC ed ECC errati\n");
    const ToolRun touched = tool("fix-checksums game.bin");
    EXPECT_NE(touched.out.find("settore 820: modo 3, lasciato com'è"), std::string::npos)
        << touched.out;
    EXPECT_EQ(readWholeFile(image), corrupt);
    EXPECT_EQ(tool("fix-checksums game.bin --all").status, 0);
    EXPECT_EQ(tool("verify game.bin").status, 0);
    for (const std::int64_t offset : differingOffsets(corrupt, readWholeFile(image)))
        EXPECT_TRUE(offset / kRawSectorSize == 3000 && offset % kRawSectorSize >= 2072) << offset;
}

}  // namespace
}  // namespace tavrel::testing
