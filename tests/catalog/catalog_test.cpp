// The catalog's 135 designs: each stored record reads, in its one spelling, each design has a
// name, and the game's one exception about type 38 holds.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/design_drawing.h"
#include "game/flag_record.h"

namespace tavrel {
namespace {

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

}  // namespace
}  // namespace tavrel
