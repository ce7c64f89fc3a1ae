#include "layout/name_codec.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(NameCodec, DecodesFullWidthLettersAndTreatsEverythingElseAsBlank) {
    const std::pair<const char*, const char*> cases[] = {
        {"82 60", "65"}, {"82 79", "90"}, {"82 81", "97"}, {"82 9A", "122"},
        {"82 6A", "75"}, {"81 44", "46"}, {"20 20", "32"}, {"82 80", "32"},
        {"82 7A", "32"}, {"82 9B", "32"}, {"82 4F", "32"}, {"81 40", "32"},
        {"82 6a", "32"}, {"82", "32"},    {"", "32"},      {"8260", "32"},
    };
    for (const auto& [code, letter] : cases) EXPECT_EQ(letterCodeFor(code), letter) << code;
}

TEST(NameCodec, WidensOnlyTheFirstSingleByteBlank) {
    const std::pair<const char*, const char*> cases[] = {
        {"82 60 20 82 61 ", "82 60 20 20 82 61 "},
        {"20 82 60 ", " 20 20 82 60 "},
        {"82 60 20 ", "82 60 20 20 "},
        {"82 60 20 82 61 20 82 62 ", "82 60 20 20 82 61 20 82 62 "},
        {"82 60 82 61 ", "82 60 82 61 "},
    };
    for (const auto& [piece, widened] : cases) EXPECT_EQ(widenFirstBlank(piece), widened);
}

TEST(NameCodec, CutsUnitsOfTwoBytesWithAnOddLastOne) {
    using Units = std::vector<std::string>;
    EXPECT_EQ(characterUnits("82 60 20 20 82 61 20 82 62"),
              (Units{"82 60", "20 20", "82 61", "20 82", "62"}));
    EXPECT_EQ(characterUnits(""), Units{});
}

}  // namespace
}  // namespace tavrel
