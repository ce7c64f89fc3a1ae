// The committed preview bitmaps are exactly what the renderer draws of each design in the
// colours of its record, one per design.
#include <gtest/gtest.h>

#include <filesystem>

#include "bmp_file.h"
#include "catalog/catalog.h"
#include "test_files.h"

namespace tavrel {
namespace {

const std::filesystem::path kPreviews = std::filesystem::path(TAVREL_CATALOG_DATA_DIR) / "previews";

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
