// The committed preview bitmaps are exactly what the design file renders to in the colours of
// each design's record, one per design; the design file's mistakes name their line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

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

TEST(CatalogDesignFile, MistakesAreReportedWithTheirLine) {
    const std::map<std::string, std::string> cases = {
        {"fill R\n", "line 1"},
        {"design 101 54x26 A\n  colours R=1\n  fill Q\n", "line 3"},
        {"design 101 54x26 A\n  colours R=16\n", "line 2"},
        {"design 101 54x26 A\n  colours R=1\n  rect 0 0 5 R\n", "line 3"},
        {"design 101 54x26 A\n  colours R=1\n  poly R 0 0 5 5\n", "line 3"},
        {"design 101 54x26 A\n  colours R=1\n  blob 1 2 R\n", "line 3"},
        {"design 101 54 A\n", "line 1"},
        {"design 101 54x26 A\n  colours R=1\n  hbands R:0\n", "line 3"},
    };
    for (const auto& [text, where] : cases) {
        std::istringstream in(text);
        try {
            previews::readDesigns(in);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(where), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace tavrel
