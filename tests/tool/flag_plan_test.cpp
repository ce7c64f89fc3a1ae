// Plan lines with colours and a type: each line's flag, or why the plan is refused.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "game/colour_word.h"
#include "game/flag_record.h"
#include "test_files.h"
#include "tool/flag_plan.h"

namespace tavrel::tool {
namespace {

// Design `id` with colours replaced and, where given, another type.
Flag design(int id, std::initializer_list<std::pair<int, std::uint16_t>> words = {},
            std::optional<std::uint8_t> type = {}) {
    Flag flag = catalogFlag(id);
    for (const auto& [k, word] : words) setColourWord(flag, k, word);
    flag.type = type.value_or(flag.type);
    return flag;
}

TEST(FlagPlan, ColoursAndTypeFollowTheSource) {
    testing::TempDir dir;
    testing::writeWholeFile(dir.file("x.flg"), formatFlagRecord(design(223)) + "\r\n");
    struct Case {
        const char* line;
        Flag flag;
    };
    // Design 182's colour 3 is 7FFF: a chosen colour keeps its bit 15 clear.
    const Case cases[] = {
        {"Italy 82 --colour 3=#FF0000", design(182, {{3, 0x001F}})},
        {"Italy 11 --colour 3=0000 --colour 1=8000 # two words",
         design(111, {{3, 0x0000}, {1, 0x8000}})},
        {"Italy 82 --type 0b --colour 15=#0A0B0C", design(182, {{15, 0x0421}}, 0x0B)},
        {"Italy 82 --colour 2=#FF0000#comment", design(182, {{2, 0x001F}})},
        {"Italy 82#comment", design(182)},
        {"Italy x.flg --colour 15=#FFFFFF --type 3C", design(223, {{15, 0x7FFF}}, 0x3C)},
        {"Parma 58 --type 0A", design(158)},
    };
    for (const Case& c : cases) {
        const Plan plan = readPlan(c.line, dir.path().string());
        ASSERT_TRUE(plan.errors.empty()) << c.line << ": " << plan.errors.front();
        ASSERT_EQ(plan.flags.size(), 1u) << c.line;
        EXPECT_EQ(formatFlagRecord(plan.flags[0].flag), formatFlagRecord(c.flag)) << c.line;
    }
}

TEST(FlagPlan, AWrongChangeRefusesTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"Parma 58 --colour 1=8000", "Parma non ha colori propri"},
        {"Italy 82 --colour 16=8000", "colore non valido: \"16=8000\""},
        {"Italy 82 --colour 3=8000 --colour 3=7FFF", "il colore 3 è dato due volte"},
        {"Italy 82 --colour", "manca il valore di --colour"},
        {"Italy 82 --type 0B --type 0C", "il tipo è dato due volte"},
        {"Italy 82 3=#FF0000", "parola inattesa: \"3=#FF0000\""},
        {"Italy", "servono SQUADRA e DISEGNO o FILE"},
    };
    for (const auto& [line, why] : cases) {
        const Plan plan = readPlan(line, ".");
        ASSERT_EQ(plan.errors.size(), 1u) << line;
        EXPECT_NE(plan.errors[0].find(why), std::string::npos) << line << ": " << plan.errors[0];
    }
}

}  // namespace
}  // namespace tavrel::tool
