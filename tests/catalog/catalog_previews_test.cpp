// The committed preview bitmaps: one per design, in the format and size the window shows,
// painted only in the colours its record gives the game, each one different, and exactly what
// the design file renders to.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>

#include "bitmap_reader.h"
#include "bmp_file.h"
#include "catalog/catalog.h"
#include "catalog/flag_record.h"
#include "image/byte_text.h"
#include "preview_design.h"
#include "preview_raster.h"
#include "test_files.h"

namespace tavrel {
namespace {

const std::filesystem::path kDataDir = TAVREL_CATALOG_DATA_DIR;

std::string previewPath(int id) {
    return (kDataDir / "previews" / (std::to_string(id) + ".bmp")).string();
}

testing::Bitmap preview(int id) {
    return testing::readPreviewBitmap(testing::readWholeFile(previewPath(id)));
}

// A colour word's colour as 5-bit channels packed in 15 bits, the flag bit dropped.
unsigned colourOf(std::uint16_t word) {
    return word & 0x7FFFu;
}

unsigned fiveBitColourOf(const testing::Rgb8& p) {
    return static_cast<unsigned>(p.red >> 3 | (p.green >> 3) << 5 | (p.blue >> 3) << 10);
}

TEST(CatalogPreviews, EachIsAnUncompressed24BitBottomUpBitmapOfPreviewSize) {
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        testing::Bitmap bitmap;
        ASSERT_NO_THROW(bitmap = preview(id)) << id;
        EXPECT_GE(bitmap.width, 51) << id;
        EXPECT_LE(bitmap.width, 60) << id;
        EXPECT_GE(bitmap.height, 22) << id;
        EXPECT_LE(bitmap.height, 30) << id;
    }
    const testing::Bitmap first = preview(kFirstCatalogId);
    EXPECT_EQ(first.width, 54);
    EXPECT_EQ(first.height, 26);
}

// The window packs every bitmap of the folder as ":/previews/<id>.bmp": nothing else belongs.
TEST(CatalogPreviews, TheFolderHoldsExactlyOneBitmapPerDesign) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kDataDir / "previews")) {
        names.insert(entry.path().filename().string());
    }
    std::set<std::string> expected;
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id)
        expected.insert(std::to_string(id) + ".bmp");
    EXPECT_EQ(names, expected);
}

// What the user picks is what the game gets: no pixel shows a colour the record lacks.
TEST(CatalogPreviews, EveryPixelIsOneOfItsRecordsColours) {
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        const Bytes bytes = fromByteText(colourFieldOf(catalogRecord(id)));
        std::set<unsigned> colours;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            colours.insert(colourOf(static_cast<std::uint16_t>(bytes[i] | bytes[i + 1] << 8)));
        }
        const testing::Bitmap bitmap = preview(id);
        std::set<unsigned> used;
        for (const testing::Rgb8& p : bitmap.pixels) used.insert(fiveBitColourOf(p));
        for (unsigned colour : used) {
            EXPECT_TRUE(colours.contains(colour)) << id << ": colour " << std::hex << colour;
        }
    }
}

// Designs that share a record still look different, so every design can be told apart.
TEST(CatalogPreviews, NoTwoPreviewsAreAlike) {
    std::map<testing::Bitmap, int> seen;
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        const auto [it, fresh] = seen.emplace(preview(id), id);
        EXPECT_TRUE(fresh) << id << " looks like " << it->second;
    }
}

// The bitmaps are generated: they must be what the design file and the records render to
// now, so an edit to either that was not followed by re-rendering shows here.
TEST(CatalogPreviews, EachIsTheRenderingOfItsDesign) {
    std::ifstream in(kDataDir / "designs.txt");
    ASSERT_TRUE(in) << "designs.txt missing";
    const auto designs = previews::readDesigns(in);
    std::set<int> ids;
    for (const auto& design : designs) {
        ids.insert(design.id);
        const Bytes rendered =
            previews::encodeBmp(previews::renderPreview(design, catalogRecord(design.id)));
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

TEST(CatalogDesignFile, ADesignThatLeavesPixelsUnpaintedIsRefused) {
    std::istringstream in("design 101 54x26 Half\n  colours R=1\n  rect 0 0 27 26 R\n");
    const auto designs = previews::readDesigns(in);
    ASSERT_EQ(designs.size(), 1u);
    EXPECT_THROW(previews::renderPreview(designs[0], catalogRecord(101)), std::runtime_error);
}

}  // namespace
}  // namespace tavrel
