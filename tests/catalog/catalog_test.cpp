// The catalog's 135 designs: the stored texts pinned by a digest, and the facts the game data
// must keep computed from them rather than typed out again.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "catalog/catalog.h"
#include "game/flag_record.h"

namespace tavrel {
namespace {

// FNV-1a over the 135 stored texts, trailing blanks included, each ended by a NUL. Taken once
// after the records were checked against the game's type-code table and the five published
// records; a changed record must change this on purpose.
constexpr std::uint64_t kRecordsDigest = 0x9a66ba5e6cf20eb;

std::uint64_t recordsDigest() {
    std::uint64_t hash = 0xcbf29ce484222325;
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        for (const char c : catalogRecordText(id))
            hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
        hash *= 0x100000001b3;
    }
    return hash;
}

TEST(Catalog, StoredRecordsAreTheCheckedOnes) {
    EXPECT_EQ(recordsDigest(), kRecordsDigest);
    EXPECT_THROW(catalogFlag(100), std::out_of_range);
    EXPECT_THROW(catalogFlag(236), std::out_of_range);
}

TEST(Catalog, KeepsTheFactsOfTheGameData) {
    std::map<std::uint8_t, int> types;
    int withBit15 = 0;
    int mixed = 0;
    int trailingBlanks = 0;
    std::set<std::pair<int, int>> sameFlag, samePalette;
    for (int a = kFirstCatalogId; a <= kLastCatalogId; ++a) {
        const Flag flag = catalogFlag(a);
        ++types[flag.type];
        int set = 0;
        for (std::size_t k = 1; k < flag.palette.size(); k += 2) set += flag.palette[k] >> 7;
        withBit15 += set;
        mixed += set > 0 && set < 15 ? 1 : 0;
        trailingBlanks += catalogRecordText(a).size() == kFlagRecordLength + 1 ? 1 : 0;
        EXPECT_EQ(formatFlagRecord(flag), catalogRecordText(a).substr(0, kFlagRecordLength)) << a;
        for (int b = a + 1; b <= kLastCatalogId; ++b) {
            if (catalogFlag(b) == flag)
                sameFlag.insert({a, b});
            else if (catalogFlag(b).palette == flag.palette)
                samePalette.insert({a, b});
        }
    }
    EXPECT_EQ(types.size(), 41u);
    EXPECT_EQ(types.count(0x38), 0u) << "38 is written only for design 158 saved to Parma";
    EXPECT_EQ(types.rbegin()->first, 0x3C);
    EXPECT_EQ(withBit15, 717);
    EXPECT_EQ(mixed, 40);
    EXPECT_EQ(trailingBlanks, 102);
    EXPECT_EQ(sameFlag, (std::set<std::pair<int, int>>{{152, 200}, {182, 210}, {183, 185}}));
    EXPECT_EQ(samePalette, (std::set<std::pair<int, int>>{{110, 144}, {117, 186}}));
}

}  // namespace
}  // namespace tavrel
