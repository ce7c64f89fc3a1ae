// The flag window's wording.
#include "editor/flag_window_texts.h"

#include <cstdio>

#include "catalog/catalog.h"
#include "game/colour_word.h"
#include "platform/paths.h"

namespace tavrel::text {
namespace {

std::string designText(int id) {
    return "N° " + std::to_string(catalogPosition(id)) + " " + std::string(catalogName(id));
}

}  // namespace

std::string designsText(const FlagMatch& match, std::uint8_t type) {
    std::string text;
    for (const int id : match.equalDesigns) text += (text.empty() ? "" : ", ") + designText(id);
    if (!text.empty())
        return text;
    return "personalizzata, tipo " + typeText(type) + " (" +
           (match.nearestDesign ? "la più vicina: " + designText(*match.nearestDesign)
                                : std::string("nessun disegno di questo tipo")) +
           ")";
}

std::string typeOnlyText(std::uint8_t type) {
    return "tipo " + typeText(type) +
           ": colori del gioco, non dell'immagine; si cambia solo il tipo";
}

std::string colourValueText(int k, std::uint16_t word) {
    char text[32];
    const Rgb5 colour = colourOf(word);
    if (isTransparent(word))
        std::snprintf(text, sizeof text, "%2d  0000  trasparente", k);
    else
        std::snprintf(text, sizeof text, "%2d  %s  R%02d G%02d B%02d", k, wordText(word).c_str(),
                      colour.red, colour.green, colour.blue);
    return text;
}

std::string draftNote(const std::string& fromFile, bool unsaved) {
    const std::string from = fromFile.empty() ? "" : "da " + fileNameOf(fromFile);
    if (!unsaved)
        return from;
    return from.empty() ? "non salvata" : from + " · non salvata";
}

std::string unreadableText(const std::string& failure) {
    return "non si può leggere: " + failure;
}

std::string colourTip(int k) {
    return "Cambia il colore " + std::to_string(k) + " con il selettore dei colori";
}

std::string colourTitle(int k, const std::string& team) {
    return "Colore " + std::to_string(k) + (team.empty() ? "" : " di " + team);
}

std::string transparentBlackQuestion(int k) {
    return "Il colore " + std::to_string(k) +
           " diventa 0000: la console non disegna questo nero, che resta trasparente.\n\n"
           "Usare invece 8000, il nero che si vede?";
}

std::string fromMainText(int position) {
    return "Disegno N° " + std::to_string(position);
}

std::string previewTip(int catalogId, const WindowCommand& command) {
    return designText(catalogId) + "\nDoppio clic, clic destro o " + keyText(command) + ": " +
           std::string(command.text) + "\nFrecce ← →: il disegno prima o dopo";
}

}  // namespace tavrel::text
