// "Salva": the design shown goes into the chosen team, and not one other byte changes.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/flag_record.h"
#include "editor/messages.h"
#include "editor_fixture.h"
#include "layout/game_layout.h"
#include "layout/team_table.h"

namespace tavrel::testing {
namespace {

// The pristine image with `record`'s type in the team's five slots and its colours in the
// team's palette (where it has one).
Bytes expectedAfterWrite(int team, std::string_view record, std::uint8_t type) {
    build::RawImageBuilder builder(pristineImage());
    builder.setTypeByteAllCopies(typeSlot(team), type);
    std::int32_t palette = 0;
    OffColor(team, palette);
    if (palette != 0)
        builder.setPalette(team, fromByteText(colourFieldOf(record)));
    return builder.bytes();
}

std::uint8_t typeOf(std::string_view record) {
    return fromByteText(typeCodeOf(record))[0];
}

class SaveTest : public EditorTest {
protected:
    void showDesign(int id) {
        while (editor.state().catalogId < id) editor.onNext();
    }
    void save(int team) {
        window.chooseTeam(team);
        editor.onTeamChosen();
        editor.onSalva();
    }
};

TEST_F(SaveTest, ChangesExactlyTheTeamsSlotsAndPalette) {
    const int teams[] = {0, 53, 54, 85, 13, 80, 59, 76};
    showDesign(123);
    const std::string_view record = catalogRecord(123);
    for (const int team : teams) {
        save(team);
        const bool hasPalette = team != 59 && team != 76;
        EXPECT_EQ(window.takeMessage(), hasPalette ? text::kSaveDone : text::kTypeOnly) << team;
        EXPECT_EQ(image(), expectedAfterWrite(team, record, typeOf(record))) << team;
        writeWholeFile(imagePath, pristineImage());
        EXPECT_EQ(window.pairing.back(), std::string(teamLabel(team)) + " Bandiera N° 23");
    }
}

TEST_F(SaveTest, NeverTouchesFramingOrTheUnlistedSlots) {
    for (int team = 0; team < kTeamCount; ++team) {
        save(team);
        editor.onNext();
    }
    for (const std::int64_t offset : changedOffsets()) {
        ASSERT_TRUE(isUserData(offset + 1)) << offset;
        for (const std::int64_t copy : kTypeTableCopyOffsets) {
            ASSERT_FALSE(offset >= copy + 54 && offset <= copy + 62) << offset;
        }
    }
}

TEST_F(SaveTest, Design158GivesParmaTheType38) {
    showDesign(158);
    save(76);
    EXPECT_EQ(window.takeMessage(), text::kTypeOnly);
    EXPECT_EQ(image(), expectedAfterWrite(76, catalogRecord(158), 0x38));

    save(10);  // any other team gets the design's own type
    EXPECT_EQ(image()[kTypeTableCopyOffsets[4] + 10], typeOf(catalogRecord(158)));

    editor.onNext();  // another design for Parma: its own type
    save(76);
    for (const std::int64_t copy : kTypeTableCopyOffsets) {
        EXPECT_EQ(image()[copy + typeSlot(76)], typeOf(catalogRecord(159)));
    }
}

TEST_F(SaveTest, SavingTwiceGivesTheSameImageAndOneLine) {
    showDesign(108);
    save(20);
    const Bytes once = image();
    save(20);
    EXPECT_EQ(image(), once);
    EXPECT_EQ(window.pairing, std::vector<std::string>{"Hungary Bandiera N° 8"});
}

TEST_F(SaveTest, SavingATeamDropsEveryLineThatContainsItsLabel) {
    save(80);
    save(10);
    save(65);  // "Monaco" is part of "Bayer Monaco"
    EXPECT_EQ(window.pairing,
              (std::vector<std::string>{"Italy Bandiera N° 1", "Monaco Bandiera N° 1"}));
    save(80);  // "Bayer Monaco" leaves the line of "Monaco" alone
    EXPECT_EQ(window.pairing,
              (std::vector<std::string>{"Italy Bandiera N° 1", "Monaco Bandiera N° 1",
                                        "Bayer Monaco Bandiera N° 1"}));
}

TEST_F(SaveTest, WithoutATeamNothingIsWritten) {
    save(10);
    window.messages.clear();
    editor.onClear();
    editor.onSalva();
    EXPECT_EQ(window.takeMessage(), text::kNoTeamSelected);
    EXPECT_TRUE(window.pairing.empty());

    window.chooseTeam(10);
    window.teamText = "Ital";  // the list's text edited away from the label
    window.teamIndex = -1;
    const Bytes before = image();
    editor.onSalva();
    EXPECT_EQ(window.takeMessage(), text::kNoTeamSelected);
    EXPECT_EQ(image(), before);
}

TEST_F(SaveTest, AShortImageIsRefusedBeforeAnyWrite) {
    const Bytes& full = pristineImage();
    struct Case {
        int team;
        std::int64_t length;  // bytes kept
    };
    const Case cases[] = {
        {0, kTypeTableCopyOffsets[4] + 50},  // the fifth type-table copy is cut
        {13, 12549966 + 28},                 // the palette's 4 bytes in the next sector are missing
    };
    for (const Case& c : cases) {
        const Bytes cut(full.begin(), full.begin() + c.length);
        const std::string path = writeImage("short.bin", cut);
        window.dialogAnswers.push_back(path);
        editor.onOpenImage();
        save(c.team);
        ASSERT_EQ(window.messages.size(), 1u) << c.team;
        EXPECT_EQ(window.messages[0].icon, MessageIcon::Critical);
        window.messages.clear();
        EXPECT_EQ(readWholeFile(path), cut) << c.team;
        EXPECT_TRUE(window.pairing.empty()) << c.team;
    }
}

TEST_F(SaveTest, LeavesTheCatalogAndTheSelectionAlone) {
    showDesign(140);
    save(30);
    EXPECT_EQ(editor.state().catalogId, 140);
    EXPECT_EQ(window.positionLabelText, "40");
    EXPECT_EQ(window.teamIndex, 30);
    EXPECT_EQ(editor.state().storedTypeCode.size(), 2u);
    EXPECT_EQ(editor.state().typePosition, kTypeTableCopyOffsets[4] + 1);
}

}  // namespace
}  // namespace tavrel::testing
