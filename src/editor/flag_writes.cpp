// "Salva" writes the design shown into the chosen team; Export writes the team's current flag
// as one line "Flag_<name>.flg" in the program's folder; Import writes the flag of a chosen
// file into the team.
#include <string_view>

#include "editor/flag_editor.h"
#include "editor/messages.h"
#include "game/flag_files.h"
#include "game/flag_record.h"
#include "platform/paths.h"

namespace tavrel {

namespace {

const char* teamLabel(int team) {
    return kTeams[static_cast<std::size_t>(team)].label;
}

}  // namespace

int FlagEditor::chosenTeamOrRefuse(const char* refusal) const {
    const int team = window_.selectedTeamIndex();
    if (isTeam(team))
        return team;
    window_.showMessage(refusal, MessageIcon::Information);
    return -1;
}

void FlagEditor::onSave() {
    guarded([&] {
        const int team = chosenTeamOrRefuse(text::kNoTeamSelected);
        if (team < 0)
            return;
        // Planning reads every place: a short image is refused before the pairing line.
        ImageEdit edit = game().planFlag(
            team, flagForTeam(catalogFlag(state_.catalogId), team, state_.catalogId));
        listPairing();
        writeTeamFlag(std::move(edit), team,
                      std::string("Salva ") + teamLabel(team) + ": N° " +
                          std::to_string(catalogPosition(state_.catalogId)),
                      text::kTypeOnly);
    });
}

void FlagEditor::onImport() {
    guarded([&] {
        const int team = chosenTeamOrRefuse(text::kNoTeamSelected);
        if (team < 0)
            return;
        const std::string path =
            window_.askOpenFileName({{{"*.flg", "*.flg"}}, window_.programFolder(), true});
        if (path.empty())
            return;
        const ParsedRecord parsed = readFlagFile(path);
        if (!parsed.flag)
            return window_.showMessage(text::kMalformedRecord, MessageIcon::Information);
        writeTeamFlag(game().planFlag(team, flagForTeam(*parsed.flag, team, state_.catalogId)),
                      team, "Import " + fileNameOf(path) + " → " + teamLabel(team),
                      text::kImportTypeOnly);
    });
}

// The team's line in the pairing list, in place of any line naming its label.
void FlagEditor::listPairing() {
    const std::string label = window_.teamListText();
    for (int line = window_.pairingCount() - 1; line >= 0; --line) {
        if (window_.pairingLine(line).find(label) != std::string::npos)
            window_.removePairingLine(line);
    }
    window_.addPairingLine(label + text::kPairingInfix + window_.positionLabel());
}

void FlagEditor::writeTeamFlag(ImageEdit edit, int team, std::string description,
                               const char* typeOnly) {
    edit.description = std::move(description);
    game().apply(edit);
    window_.showMessage(hasPalette(team) ? text::kSaveDone : typeOnly, MessageIcon::Information);
}

void FlagEditor::onExport() {
    guarded([&] {
        const int team = chosenTeamOrRefuse(text::kNoTeamForExport);
        if (team < 0)
            return;
        if (!hasPalette(team)) {
            window_.showMessage(text::kNoPaletteToExport, MessageIcon::Information);
            return;
        }
        const std::optional<std::string> fileName = flagFileName(window_.nameBoxText());
        if (!fileName) {
            window_.showMessage(text::kBadExportName, MessageIcon::Information);
            return;
        }
        // The flag is read before the file is touched, so a failed read leaves no file behind.
        const Flag flag = game().readFlag(team);
        writeFlagFiles(window_.programFolder(), {{*fileName, flag}});
        window_.showMessage(text::kExportDone, MessageIcon::Information);
    });
}

}  // namespace tavrel
