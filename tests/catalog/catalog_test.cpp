// The catalog's 135 designs: each stored record reads, in its one spelling, each design has a
// name, and the game's one exception about type 38 holds; the committed preview bitmaps are
// exactly what the renderer draws of each design in the colours of its record, one per design.
#include <gtest/gtest.h>

#include <filesystem>

#include "bmp_file.h"
#include "catalog/catalog.h"
#include "catalog/design_drawing.h"
#include "game/flag_record.h"
#include "test_files.h"

namespace tavrel {
namespace {

const std::filesystem::path kPreviews = std::filesystem::path(TAVREL_CATALOG_DATA_DIR) / "previews";

TEST(Catalog, EveryRecordReadsAsStoredAndNoneHasTheTypeKeptForParma) {
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        const Flag flag = catalogFlag(id);
        EXPECT_EQ(formatFlagRecord(flag), catalogRecordText(id).substr(0, kFlagRecordLength)) << id;
        EXPECT_NE(flag.type, 0x38) << "38 is written only for design 158 given to Parma: " << id;
        EXPECT_FALSE(catalogName(id).empty()) << id;
        EXPECT_EQ(catalogName(id), catalogDrawing(id).title) << "names are read apart";
    }
    EXPECT_EQ(catalogFlag(158).type, 0x0A);
    EXPECT_EQ(flagForTeam(catalogFlag(158), 76, 158).type, 0x38);
    EXPECT_EQ(flagForTeam(catalogFlag(158), 75, 158).type, 0x0A);
    EXPECT_THROW(catalogFlag(100), std::out_of_range);
    EXPECT_THROW(catalogFlag(236), std::out_of_range);
    EXPECT_THROW(catalogName(100), std::out_of_range);
}

TEST(CatalogPreviews, EachIsTheRenderingOfItsDesign) {
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        const Bytes committed =
            testing::readWholeFile((kPreviews / (std::to_string(id) + ".bmp")).string());
        EXPECT_TRUE(previews::encodeBmp(previews::catalogPreview(id)) == committed)
            << id << " (" << catalogName(id) << ") differs: run ninja update_catalog_previews";
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(kPreviews), {}), kCatalogSize);
}

}  // namespace
}  // namespace tavrel
