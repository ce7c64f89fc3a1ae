// "Salva" writes the design shown into the chosen team; Export writes the team's current flag
// as one line "Flag_<name>.flg" in the program's folder; Import writes the flag of a chosen
// file into the team.
#include "editor/flag_editor.h"
#include "editor/main_window_table.h"
#include "editor/messages.h"
#include "game/change_names.h"
#include "game/flag_files.h"
#include "game/flag_record.h"
#include "platform/paths.h"

namespace tavrel {

int FlagEditor::chosenTeamOrRefuse(const char* refusal) const {
    if (isTeam(state_.team))
        return state_.team;
    window_.showMessage(refusal, MessageIcon::Information);
    return -1;
}

void FlagEditor::onSave() {
    guarded([&] {
        const int team = chosenTeamOrRefuse(text::kNoTeamSelected);
        if (team < 0)
            return;
        const int id = state_.catalogId;
        const int position = catalogPosition(id);
        // Planning reads every place: a short image is refused before anything is written.
        ImageEdit edit = game().planFlag(team, flagForTeam(catalogFlag(id), team, id));
        // The team's line is listed once the design is in the image.
        state_.pairings.add(team, position,
                            write(std::move(edit), change_name::design(team, position)));
        window_.setLines(main_window::kPairingList, state_.pairings.lines());
        window_.showMessage(hasPalette(team) ? text::kSaveDone : text::kTypeOnly,
                            MessageIcon::Information);
    });
}

void FlagEditor::onImport() {
    guarded([&] {
        const int team = chosenTeamOrRefuse(text::kNoTeamSelected);
        if (team < 0)
            return;
        const std::string path = askFile({{{"*.flg", "*.flg"}}, window_.programFolder(), ""});
        if (path.empty())
            return;
        const ParsedRecord parsed = readFlagFile(path);
        if (!parsed.flag)
            return window_.showMessage(text::kMalformedRecord, MessageIcon::Information);
        write(game().planFlag(team, flagForTeam(*parsed.flag, team, state_.catalogId)),
              change_name::flagFile(team, path));
        window_.showMessage(hasPalette(team) ? text::kSaveDone : text::kImportTypeOnly,
                            MessageIcon::Information);
    });
}

std::optional<std::uint64_t> FlagEditor::write(ImageEdit edit, std::string description) {
    edit.description = std::move(description);
    GameImage& image = game();
    confirmWrites();
    const std::vector<ChangeRecord>& log = image_->history();
    const std::uint64_t last = log.empty() ? 0 : log.back().sequence;
    image.apply(edit);
    if (log.empty() || log.back().sequence == last)
        return std::nullopt;
    return log.back().sequence;
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
        const std::optional<std::string> fileName = flagFileName(state_.name);
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
