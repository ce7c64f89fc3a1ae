// Which designs a flag is: the equal ones, or the nearest of its type; and how far apart two
// flags' colours are.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/flag_match.h"
#include "game/colour_word.h"

namespace tavrel {
namespace {

// `flag` with colour k's word replaced (k 0: none) and, where given, another type.
Flag changed(Flag flag, int k, std::uint16_t word, std::optional<std::uint8_t> type = {}) {
    if (k > 0)
        setColourWord(flag, k, word);
    flag.type = type.value_or(flag.type);
    return flag;
}

TEST(FlagMatch, EqualDesignsOrTheNearestOfTheSameType) {
    struct Case {
        const char* what;
        Flag flag;
        std::vector<int> equal;
        std::optional<int> nearest;
    };
    const Flag italy = catalogFlag(182);
    const Case cases[] = {
        {"a design; 182 and 210 hold the same record", catalogFlag(210), {182, 210}, {}},
        {"a design whose record is its own", catalogFlag(199), {199}, {}},
        // Bit 15 changes no colour: 182 and 210 are both at distance 0, the lower wins.
        {"bit 15 changed", changed(italy, 3, colourWord(italy, 3) ^ kFlagBit), {}, 182},
        {"one colour a little off", changed(catalogFlag(111), 5, 0x0C3A), {}, 111},
        {"Kuwait's colours, type 07", changed(catalogFlag(199), 0, 0, 0x07), {}, 224},
        // Japan with a black colour 5 lies nearer England by squares (690 against 712), though
        // nearer Japan by plain differences (48 against 32).
        {"the distance squares", changed(catalogFlag(113), 5, 0x0000), {}, 168},
        {"a type no design has", changed(italy, 0, 0, 0x0D), {}, {}},
    };
    for (const Case& c : cases) {
        const FlagMatch match = matchFlag(c.flag);
        EXPECT_EQ(match.equalDesigns, c.equal) << c.what;
        EXPECT_EQ(match.nearestDesign, c.nearest) << c.what;
    }
}

TEST(FlagMatch, DistanceCountsColoursNotBit15) {
    const Flag italy = catalogFlag(182);  // colour 1 is 2240: 0, 18, 8
    EXPECT_EQ(colourDistance(italy, changed(italy, 1, 0x2240 ^ kFlagBit)), 0);
    EXPECT_EQ(colourDistance(italy, changed(italy, 1, 0x0000)), 18 * 18 + 8 * 8);
}

}  // namespace
}  // namespace tavrel
