// The catalog's 135 flag records: their form, the five sample records, the type codes, the
// trailing blanks, which designs share colours, and how the colour words carry bit 15.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/flag_record.h"
#include "image/byte_text.h"

namespace tavrel {
namespace {

// The part of a record that readers use: type code and colour field, no stored blank.
std::string_view usedPart(std::string_view record) {
    return record.substr(0, kFlagRecordLength);
}

std::vector<std::uint16_t> colourWords(std::string_view record) {
    const Bytes bytes = fromByteText(colourFieldOf(record));
    std::vector<std::uint16_t> words;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        words.push_back(static_cast<std::uint16_t>(bytes[i] | bytes[i + 1] << 8));
    }
    return words;
}

TEST(CatalogRecords, EveryIdHasAWholeRecordInUpperCaseHex) {
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        const std::string_view record = catalogRecord(id);
        EXPECT_TRUE(startsWithFlagRecord(record)) << id;
        EXPECT_TRUE(record.size() == kFlagRecordLength ||
                    (record.size() == kFlagRecordLength + 1 && record.back() == ' '))
            << id;
        EXPECT_EQ(record.find_first_not_of("0123456789ABCDEF "), std::string_view::npos) << id;
        EXPECT_EQ(colourWords(record).size(), 15u) << id;
    }
}

TEST(CatalogRecords, IdsOutsideTheCatalogAreRefused) {
    for (int id : {kFirstCatalogId - 1, kLastCatalogId + 1, 0, -1, 1, 1000, INT_MIN, INT_MAX}) {
        EXPECT_THROW(catalogRecord(id), std::out_of_range) << id;
    }
}

TEST(CatalogRecords, SampleRecordsAreStoredCharacterForCharacter) {
    const std::map<int, std::string_view> samples = {
        {101,
         "00BD F7 18 E3 B9 98 B9 98 BD F7 18 E3 18 E3 18 E3 B9 98 B9 98 B9 98 B9 98 B9 98 00 80 "
         "00 80"},
        {108,
         "07A2 3C A2 3C 95 10 95 10 95 10 95 10 95 10 95 10 A2 3C A2 3C 95 10 95 10 95 10 95 10 "
         "95 10 "},
        {220,
         "001F 00 1F 00 1F 00 1F 00 1F 00 1F 00 BD F7 1F 00 1F 00 1F 00 1F 00 1F 00 1F 00 1F 00 "
         "1F 00"},
        {223,
         "0700 7C 00 7C FF 7F FF 7F FF 7F FF 7F 00 7C 00 7C 00 7C 00 7C FF 7F FF 7F FF 7F FF 7F "
         "00 00"},
        {235,
         "1928 6A 28 6A B3 C2 28 6A 28 6A 18 E3 CA 2A CA 2A 5A EB 73 CE DA DA 50 C2 28 6A 28 6A "
         "BD F7"},
    };
    for (const auto& [id, record] : samples) EXPECT_EQ(catalogRecord(id), record) << id;
}

TEST(CatalogRecords, TypeCodesFollowTheGamesTypeTable) {
    using Ranges = std::vector<std::pair<int, int>>;
    const std::vector<std::pair<std::string, Ranges>> table = {
        {"00",
         {{101, 101},
          {113, 113},
          {122, 122},
          {124, 125},
          {128, 128},
          {140, 140},
          {151, 151},
          {161, 161},
          {163, 163},
          {168, 168},
          {171, 173},
          {179, 179},
          {183, 183},
          {185, 185},
          {194, 194},
          {204, 204},
          {218, 220},
          {225, 225},
          {230, 230}}},
        {"01", {{112, 112}, {214, 214}}},
        {"02", {{103, 103}, {169, 169}, {196, 196}, {215, 215}}},
        {"03", {{147, 147}}},
        {"04", {{174, 174}, {188, 188}, {217, 217}}},
        {"05", {{203, 203}}},
        {"06", {{117, 117}}},
        {"07",
         {{108, 108},
          {110, 110},
          {134, 134},
          {153, 153},
          {157, 157},
          {159, 159},
          {170, 170},
          {191, 192},
          {197, 197},
          {201, 202},
          {223, 224},
          {226, 226},
          {228, 228},
          {231, 231},
          {233, 234}}},
        {"08",
         {{105, 106},
          {127, 127},
          {131, 131},
          {154, 154},
          {160, 160},
          {187, 187},
          {209, 209},
          {222, 222}}},
        {"09", {{121, 121}, {145, 145}, {190, 190}, {208, 208}, {221, 221}}},
        {"0A", {{118, 118}, {158, 158}, {176, 176}, {193, 193}, {207, 207}}},
        {"0B", {{182, 182}, {199, 199}, {210, 211}}},
        {"0C", {{189, 189}}},
        {"0E", {{198, 198}}},
        {"11", {{115, 116}}},
        {"12", {{178, 178}, {195, 195}}},
        {"15", {{162, 162}, {166, 166}}},
        {"16", {{164, 164}, {213, 213}}},
        {"18", {{175, 175}, {184, 184}, {227, 227}, {229, 229}}},
        {"19", {{232, 232}, {235, 235}}},
        {"1C", {{146, 146}, {152, 152}, {200, 200}}},
        {"1D", {{102, 102}}},
        {"1E", {{119, 120}}},
        {"1F", {{133, 133}, {143, 144}}},
        {"20", {{126, 126}}},
        {"21", {{107, 107}}},
        {"22", {{167, 167}}},
        {"23", {{177, 177}, {181, 181}}},
        {"24", {{148, 150}, {206, 206}}},
        {"25", {{111, 111}, {135, 136}, {139, 139}, {142, 142}, {205, 205}, {212, 212}}},
        {"26", {{137, 138}}},
        {"27", {{114, 114}}},
        {"28", {{109, 109}, {141, 141}, {180, 180}}},
        {"29", {{129, 129}}},
        {"2A", {{165, 165}}},
        {"36", {{155, 155}, {186, 186}}},
        {"37", {{104, 104}}},
        {"39", {{130, 130}, {216, 216}}},
        {"3A", {{156, 156}}},
        {"3B", {{132, 132}}},
        {"3C", {{123, 123}}},
    };
    ASSERT_EQ(table.size(), 41u);
    std::map<int, std::string> expected;
    for (const auto& [code, ranges] : table) {
        for (const auto& [first, last] : ranges) {
            for (int id = first; id <= last; ++id) {
                EXPECT_TRUE(expected.emplace(id, code).second) << "id listed twice: " << id;
            }
        }
    }
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kCatalogSize));
    for (const auto& [id, code] : expected) EXPECT_EQ(typeCodeOf(catalogRecord(id)), code) << id;
}

TEST(CatalogRecords, OnlyTheListedRecordsLackTheTrailingBlank) {
    std::set<int> withoutBlank = {109, 114, 115, 125, 130, 132, 155, 183, 192, 195,
                                  197, 208, 212, 214, 215, 227, 230, 231, 235};
    for (int id = 101; id <= 107; ++id) withoutBlank.insert(id);
    for (int id = 217; id <= 223; ++id) withoutBlank.insert(id);
    ASSERT_EQ(withoutBlank.size(), 33u);

    int withBlank = 0;
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        const bool blank = catalogRecord(id).size() == kFlagRecordLength + 1;
        EXPECT_EQ(blank, !withoutBlank.contains(id)) << id;
        withBlank += blank ? 1 : 0;
    }
    EXPECT_EQ(withBlank, 102);
}

// Three pairs of designs store the same record (apart from the unused blank, which 183 lacks
// and 185 carries); two more pairs share only their colours. Every other design is its own.
TEST(CatalogRecords, OnlyTheKnownPairsShareTheirColours) {
    const std::set<std::pair<int, int>> sameRecord = {{152, 200}, {182, 210}, {183, 185}};
    const std::set<std::pair<int, int>> sameColours = {{110, 144}, {117, 186}};
    for (int a = kFirstCatalogId; a <= kLastCatalogId; ++a) {
        for (int b = a + 1; b <= kLastCatalogId; ++b) {
            const std::string_view ra = catalogRecord(a);
            const std::string_view rb = catalogRecord(b);
            const bool recordShared = sameRecord.contains({a, b});
            const bool coloursShared = recordShared || sameColours.contains({a, b});
            EXPECT_EQ(usedPart(ra) == usedPart(rb), recordShared) << a << " and " << b;
            EXPECT_EQ(colourFieldOf(ra) == colourFieldOf(rb), coloursShared) << a << " and " << b;
        }
    }
}

TEST(CatalogRecords, ColourWordsCarryBit15AsTheGameDataDoes) {
    int words = 0;
    int withBit15 = 0;
    int mixedRecords = 0;
    std::set<std::uint16_t> seen;
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        int set = 0;
        for (std::uint16_t word : colourWords(catalogRecord(id))) {
            ++words;
            set += word & 0x8000 ? 1 : 0;
            seen.insert(word);
        }
        withBit15 += set;
        mixedRecords += set > 0 && set < 15 ? 1 : 0;
    }
    EXPECT_EQ(words, 2025);
    EXPECT_EQ(withBit15, 717);
    EXPECT_EQ(mixedRecords, 40);
    // Black and white each appear with and without the flag bit.
    for (std::uint16_t word : {0x8000, 0x0000, 0x7FFF, 0xFFFF}) {
        EXPECT_TRUE(seen.contains(word)) << std::hex << word;
    }
}

}  // namespace
}  // namespace tavrel
