// "Salva" and the flag write it shares with Import: the type code into the team's slot of all
// five type-table copies, the fifteen colours into the team's palette.
#include <string_view>

#include "catalog/catalog.h"
#include "catalog/flag_record.h"
#include "editor/flag_editor.h"
#include "editor/messages.h"
#include "image/image_error.h"
#include "layout/game_layout.h"
#include "layout/team_table.h"

namespace tavrel {
namespace {

// The one design that gets another type than its record's: design 158 saved to Parma.
constexpr int kParmaIndex = 76;
constexpr int kParmaSpecialCatalogId = 158;
constexpr const char* kParmaSpecialTypeCode = "38";

}  // namespace

int FlagEditor::selectedTeamOrRefuse() const {
    const int team = window_.selectedTeamIndex();
    if (team >= 0 && team < kTeamCount)
        return team;
    window_.showMessage(text::kNoTeamSelected, MessageIcon::Information);
    return -1;
}

std::vector<ByteRun> FlagEditor::palettePlaces() const {
    if (state_.palettePosition == 0)
        return {};
    return paletteRuns(state_.palettePosition);
}

// A too-short or wrong file is refused before the first byte is written.
void FlagEditor::requireFlagWritePlaces(int team) const {
    for (const std::int64_t copy : kTypeTableCopyOffsets) {
        image_.requireInside(copy + 1, kTypeTableSize);
    }
    std::int32_t palette = 0;
    OffColor(team, palette);
    if (palette != 0) {
        for (const ByteRun& run : paletteRuns(palette))
            image_.requireInside(run.position, run.length);
    }
}

void FlagEditor::onSalva() {
    guarded([&] {
        const int team = selectedTeamOrRefuse();
        if (team < 0)
            return;
        requireFlagWritePlaces(team);

        const std::string label = window_.teamListText();
        for (int line = window_.pairingCount() - 1; line >= 0; --line) {
            if (window_.pairingLine(line).find(label) != std::string::npos) {
                window_.removePairingLine(line);
            }
        }
        window_.addPairingLine(label + text::kPairingInfix + window_.positionLabel());

        const bool paletteWritten = WriteFlags(std::string(catalogRecord(state_.catalogId)));
        image_.sync();
        window_.showMessage(paletteWritten ? text::kSaveDone : text::kTypeOnly,
                            MessageIcon::Information);
    });
}

bool FlagEditor::WriteFlags(const std::string& record) {
    // Callers pass catalog records or checked file lines; anything else must not reach the
    // image, where it could write a half type code or more than the palette holds.
    if (!startsWithFlagRecord(record))
        throw IoError(text::kMalformedRecord);
    state_.pendingRecord = record;
    const int team = window_.selectedTeamIndex();
    state_.pendingTypeCode = team == kParmaIndex && state_.catalogId == kParmaSpecialCatalogId
                                 ? kParmaSpecialTypeCode
                                 : std::string(typeCodeOf(state_.pendingRecord));
    // Characters 3..91 only: the trailing blank of a catalog record is never taken.
    state_.pendingColourField = std::string(colourFieldOf(state_.pendingRecord));

    for (const std::int64_t copy : kTypeTableCopyOffsets) {
        state_.typePosition = static_cast<std::int32_t>(copy + 1);
        INS_TIPO();
    }

    OffColor(team, state_.palettePosition);
    const Bytes colours = fromByteText(state_.pendingColourField);
    if (state_.palettePosition == 0)
        return false;
    std::size_t done = 0;
    for (const ByteRun& run : palettePlaces()) {
        const auto length = static_cast<std::size_t>(run.length);
        image_.write(run.position, std::span(colours).subspan(done, length));
        done += length;
    }
    return true;
}

// Rewrites the whole type-table copy at the type position with the pending type code in the
// selected team's slot; the other 94 bytes, the game's nine unlisted slots among them, go back
// exactly as read.
void FlagEditor::INS_TIPO() {
    const int teamNumber = window_.selectedTeamIndex() + 1;
    std::string table = toCompactByteText(image_.read(state_.typePosition, kTypeTableSize));
    const int firstChar = teamNumber < kFirstClubIndex + 1
                              ? 2 * teamNumber - 1
                              : 2 * (teamNumber + kUnlistedSlotCount) - 1;
    const auto at = static_cast<std::size_t>(firstChar - 1);
    state_.storedTypeCode = table.substr(at, 2);
    if (state_.storedTypeCode != state_.pendingTypeCode) {
        table.replace(at, 2, state_.pendingTypeCode);
    }
    image_.write(state_.typePosition, fromByteText(table));
}

}  // namespace tavrel
