// The flag window's own texts: what a flag is (the designs it equals, a flag of its own, a
// type alone), a colour's value, and its tooltips and questions; and the main window's words
// for reaching it.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/flag_match.h"
#include "editor/window_table.h"

namespace tavrel::text {

inline constexpr const char* kNoTeamChosen = "nessuna: scegline una nella finestra principale";
inline constexpr const char* kNoImageOpen = "nessuna immagine CD aperta";
inline constexpr const char* kFromTeamTip =
    "Riparte dalla bandiera che la squadra ha ora nell'immagine";
inline constexpr const char* kFromMainTip =
    "Riparte dal disegno mostrato nella finestra principale";
inline constexpr const char* kNumberTip =
    "Scrivi un N° da 1 a 135: la bandiera riparte da quel disegno";
inline constexpr const char* kTypeTip = "Il tipo della bandiera: due cifre esadecimali, 00–FF";
inline constexpr const char* kSaveTip = "Scrive questa bandiera nella squadra (Ctrl+Z la annulla)";

// "N° 11 Italy" or "N° 82 Italy, N° 110 Hungary"; for a flag of its own "personalizzata, tipo
// 0B (la più vicina: N° 82 Italy)", or "… (nessun disegno di questo tipo)".
std::string designsText(const FlagMatch& match, std::uint8_t type);
// A team without colours of its own in the image.
std::string typeOnlyText(std::uint8_t type);
// " 3  7C1F  R31 G00 B31", or " 3  0000  trasparente": the columns line up in a fixed font.
std::string colourValueText(int k, std::uint16_t word);
// Where a flag being edited came from, and whether the team has it already: "da
// Flag_Denma.flg · non salvata".
std::string draftNote(const std::string& fromFile, bool unsaved);
// The flag as the image holds it could not be read.
std::string unreadableText(const std::string& failure);

std::string colourTip(int k);
std::string colourTitle(int k, const std::string& team);
std::string transparentBlackQuestion(int k);
std::string fromMainText(int position);

// The main window's preview: the design shown, and how to reach the flag window.
std::string previewTip(int catalogId, const WindowCommand& command);

}  // namespace tavrel::text
