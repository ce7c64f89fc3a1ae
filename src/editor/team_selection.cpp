// Choosing a team: enable "Salva" and show the team's name as the image stores it.
#include "editor/flag_editor.h"
#include "layout/game_layout.h"
#include "layout/name_codec.h"
#include "layout/team_table.h"

namespace tavrel {

void FlagEditor::onTeamChosen() {
    guarded([&] {
        window_.enableSalva();
        window_.setNameBoxText("");
        const int team = window_.selectedTeamIndex();
        if (team == kPortugalIndex) {
            state_.namePosition = kPortugalNameOffset1 + 1;
            decodeNamePiece(image_.read(state_.namePosition, kPortugalNameLength1));
            state_.namePosition = kPortugalNameOffset2 + 1;
            decodeNamePiece(image_.read(state_.namePosition, kPortugalNameLength2));
        } else if (team >= 0 && team < kTeamCount) {
            std::int32_t position = state_.namePosition;
            std::int16_t length = 0;
            Off_Name_HEX(team, position, length);
            state_.namePosition = position;
            decodeNamePiece(image_.read(state_.namePosition, static_cast<std::size_t>(length)));
        }
    });
}

void FlagEditor::decodeNamePiece(const Bytes& piece) {
    const std::string working = trimBlanks(widenFirstBlank(toByteText(piece)));
    for (const std::string& unit : characterUnits(working)) {
        state_.characterCode = unit;
        Hex_Let();
        const char letter = static_cast<char>(std::stoi(state_.letterCode));
        window_.setNameBoxText(window_.nameBoxText() + letter);
    }
}

void FlagEditor::Hex_Let() {
    state_.letterCode = letterCodeFor(state_.characterCode);
}

}  // namespace tavrel
