// The change log's names of Tavrel's changes, worded once for the window and the tool.
#include "game/change_names.h"

#include "journal/change_record.h"
#include "platform/paths.h"

namespace tavrel::change_name {
namespace {

std::string label(int team) {
    return kTeams[static_cast<std::size_t>(team)].label;
}

// "1 settore", "7 settori".
std::string count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string design(int team, int position) {
    return "Salva " + label(team) + ": N° " + std::to_string(position);
}

std::string flagFile(int team, const std::string& path) {
    return "Import " + fileNameOf(path) + " → " + label(team);
}

std::string teamFlag(int team) {
    return "Salva " + label(team) + ": bandiera della squadra";
}

std::string withEdits(std::string change, std::span<const std::string> colours,
                      const std::string& type) {
    std::string edits;
    for (const std::string& colour : colours)
        edits += (edits.empty() ? "" : ", ") + ("colore " + colour);
    if (!type.empty())
        edits += (edits.empty() ? "" : ", ") + ("tipo " + type);
    return edits.empty() ? change : change + " (" + edits + ")";
}

std::string plan(const std::string& path, std::size_t flags) {
    return "Piano" + (path == "-" ? std::string() : " " + fileNameOf(path)) + ": " +
           count(flags, "bandiera", "bandiere");
}

std::string patch(const std::string& path) {
    return "Patch " + fileNameOf(path);
}

std::string nets(NetPattern pattern) {
    return pattern == NetPattern::Plain ? "Reti: Normali" : "Reti: Rombi";
}

std::string undo(std::span<const ChangeRecord> taken) {
    if (taken.size() == 1)
        return "Annulla: " + taken.front().description;
    std::string numbers;
    for (const ChangeRecord& change : taken)
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(change.sequence);
    return "Annulla le modifiche " + numbers;
}

std::string checksumRepair(std::size_t sectors) {
    return "EDC ed ECC riscritti: " + count(sectors, "settore", "settori");
}

}  // namespace tavrel::change_name
