// Flag files: Export writes the selected team's current flag as one line "Flag_<name>.flg" in
// the program's folder; Import writes the flag of a chosen file into the selected team.
#include <string_view>

#include "catalog/flag_record.h"
#include "editor/flag_editor.h"
#include "editor/messages.h"
#include "image/image_error.h"
#include "image/small_file.h"
#include "layout/game_layout.h"
#include "layout/team_table.h"

namespace tavrel {
namespace {

// A flag line is 93 bytes; reading more than this of a chosen file would only cost memory.
constexpr std::size_t kFlagLineReadLimit = 4096;
constexpr std::size_t kMaxFileNameBytes = 255;
constexpr const char* kLineEnd = "\r\n";

// The name box is editable: its text must make one plain file name in the program's folder.
bool isPlainFileName(std::string_view name) {
    if (name.size() > kMaxFileNameBytes)
        return false;
    for (const char c : name) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || code < 0x20 || code == 0x7F)
            return false;
    }
    return true;
}

}  // namespace

void FlagEditor::onExport() {
    guarded([&] {
        const int team = window_.selectedTeamIndex();
        if (team < 0 || team >= kTeamCount) {
            window_.showMessage(text::kNoTeamForExport, MessageIcon::Information);
            return;
        }
        std::int32_t palette = 0;
        OffColor(team, palette);
        if (palette == 0) {
            window_.showMessage(text::kNoPaletteToExport, MessageIcon::Information);
            return;
        }
        const std::string fileName = "Flag_" + window_.nameBoxText() + ".flg";
        if (!isPlainFileName(fileName)) {
            window_.showMessage(text::kBadExportName, MessageIcon::Information);
            return;
        }
        // The flag is read before the file is touched, so a failed read leaves no file behind.
        ReadFlags();
        replaceFileAtomically(window_.programFolder() + "/" + fileName,
                              state_.currentFlagRecord + kLineEnd);
        window_.showMessage(text::kExportDone, MessageIcon::Information);
    });
}

void FlagEditor::ReadFlags() {
    const int team = window_.selectedTeamIndex();
    state_.typePosition = static_cast<std::int32_t>(kTypeTableCopyOffsets[0] + 1 + typeSlot(team));
    const std::string typeCode = toCompactByteText(image_.read(state_.typePosition, 1));
    OffColor(team, state_.palettePosition);
    Bytes palette;
    for (const ByteRun& run : palettePlaces()) {
        const Bytes part = image_.read(run.position, static_cast<std::size_t>(run.length));
        palette.insert(palette.end(), part.begin(), part.end());
    }
    state_.currentFlagRecord = typeCode + trimBlanks(toByteText(palette));
}

void FlagEditor::onImport() {
    guarded([&] {
        const int team = selectedTeamOrRefuse();
        if (team < 0)
            return;
        const std::string path =
            window_.askOpenFileName({{{"*.flg", "*.flg"}}, window_.programFolder(), true});
        if (path.empty())
            return;
        const std::string line = readFirstLine(path, kFlagLineReadLimit);
        if (!startsWithFlagRecord(line)) {
            window_.showMessage(text::kMalformedRecord, MessageIcon::Information);
            return;
        }
        requireFlagWritePlaces(team);
        const bool paletteWritten = WriteFlags(line);
        image_.sync();
        window_.showMessage(paletteWritten ? text::kSaveDone : text::kImportTypeOnly,
                            MessageIcon::Information);
    });
}

}  // namespace tavrel
