// The committed preview bitmaps are exactly what the design file renders to in the colours of
// each design's record, one per design.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "bmp_file.h"
#include "catalog/catalog.h"
#include "preview_design.h"
#include "preview_raster.h"
#include "test_files.h"

namespace tavrel {
namespace {

const std::filesystem::path kDataDir = TAVREL_CATALOG_DATA_DIR;

std::string previewPath(int id) {
    return (kDataDir / "previews" / (std::to_string(id) + ".bmp")).string();
}

TEST(CatalogPreviews, EachIsTheRenderingOfItsDesign) {
    std::ifstream in(kDataDir / "designs.txt");
    ASSERT_TRUE(in) << "designs.txt missing";
    const auto designs = previews::readDesigns(in);
    std::set<int> ids;
    for (const auto& design : designs) {
        ids.insert(design.id);
        const Bytes rendered =
            previews::encodeBmp(previews::renderPreview(design, catalogRecordText(design.id)));
        EXPECT_TRUE(rendered == testing::readWholeFile(previewPath(design.id)))
            << design.id << " (" << design.title << ") differs: run ninja update_catalog_previews";
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kCatalogSize));
    EXPECT_EQ(ids.size(), designs.size());
}

}  // namespace
}  // namespace tavrel
