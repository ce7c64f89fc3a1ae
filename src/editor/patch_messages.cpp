// The window's words for a dropped patch: what it changes, and why it is not applied.
#include "editor/messages.h"
#include "game/patch_plan.h"
#include "game/team_table.h"
#include "image/offset_text.h"

namespace tavrel::text {
namespace {

constexpr const char* kNothingWritten = " Nulla è stato scritto.";

std::string teamName(int team) {
    return team < 0 ? "tabella dei tipi" : kTeams[static_cast<std::size_t>(team)].label;
}

// "Denmark: tavolozza cambiata da un'altra modifica; reti cambiate da un'altra modifica".
std::string conflictText(const std::vector<std::int64_t>& conflicts) {
    PlaceTally places;
    for (const std::int64_t offset : conflicts) places.add(offset);
    std::string text;
    for (const auto& [team, kinds] : places.teams) {
        for (const PlaceKind kind : kinds)
            text += (text.empty() ? "" : "; ") + teamName(team) + ": " + placeWord(kind) +
                    (kind == PlaceKind::Palette ? " cambiata" : " cambiato") +
                    " da un'altra modifica";
    }
    if (places.nets)
        text += std::string(text.empty() ? "" : "; ") + "reti cambiate da un'altra modifica";
    if (places.otherBytes > 0 || !places.checksumSectors.empty())
        text += (text.empty() ? "" : "; ") + std::string("altri byte a ") +
                hexOffset(conflicts.front());
    return text;
}

}  // namespace

std::string patchUnreadable(const std::string& name, bool tooLarge, const PatchFault& fault) {
    if (tooLarge)
        return "\"" + name + "\" è più grande di 64 MiB: non è una patch di bandiere." +
               kNothingWritten;
    if (fault.kind == PatchFault::Kind::Compressed)
        return "La patch \"" + name + "\" è compressa con " + fault.name +
               ", che Tavrel non legge: rifatela senza compressione secondaria (xdelta3 -S none)." +
               kNothingWritten;
    return "\"" + name + "\" non è una patch PPF o VCDIFF (xdelta) che Tavrel sappia leggere" +
           (fault.at >= 0 ? " (errore a " + hexOffset(fault.at) + ")" : "") + "." + kNothingWritten;
}

std::string patchRefused(const std::string& name, const PatchPlan& plan, std::int64_t imageSize) {
    const std::string patch = "La patch \"" + name + "\" ";
    if (plan.fault.kind != PatchFault::Kind::None)
        return patchUnreadable(name, false, plan.fault);
    if (plan.pastEnd >= 0 || plan.targetSize >= 0)
        return patch + "è per un'immagine di un'altra dimensione (questa ha " +
               std::to_string(imageSize) + " byte)." + kNothingWritten;
    if (plan.mismatch != PatchPlan::Mismatch::None)
        return patch + "è stata fatta per un'altra immagine: i byte di controllo a " +
               hexOffset(plan.mismatchAt) + " sono diversi." + kNothingWritten;
    return patch + "non si applica a questa immagine: " + conflictText(plan.conflicts) + "." +
           kNothingWritten;
}

std::string patchAlreadyIn(const std::string& name) {
    return "La patch \"" + name + "\" è già nell'immagine: non c'è nulla da scrivere.";
}

std::string patchQuestion(const std::string& name, const PlaceTally& changes) {
    std::string list;
    for (const auto& [team, kinds] : changes.teams)
        list += (list.empty() ? "" : ", ") + teamName(team);
    if (changes.nets)
        list += list.empty() ? "reti" : ", reti";
    if (changes.otherBytes > 0)
        list += (list.empty() ? "" : ", ") + std::to_string(changes.otherBytes) +
                " byte fuori dai posti del gioco";
    return "Applicare la patch " + name + "? Cambia: " + list;
}

std::string patchApplied(const std::string& name) {
    return "Patch applicata: " + name + ". Ctrl+Z la annulla.";
}

}  // namespace tavrel::text
