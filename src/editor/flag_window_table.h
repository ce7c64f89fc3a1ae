// The flag window, "Bandiera della squadra", as a table (window_table.h): the chosen team's
// flag as the image holds it, and a flag being edited from it, its fifteen colours one a row
// (a swatch that opens the colour chooser, the word's value, its bit 15), a large preview, the
// type, a N° to start from, Import, Export and Salva. The rows its editor names them by.
#pragma once

#include <array>

#include "editor/window_table.h"
#include "game/colour_word.h"

namespace tavrel {

// clang-format off
inline constexpr auto kFlagWindowControls = [] {
    using enum ControlKind;
    using enum TextAlign;
    using enum Face;
    using enum Ink;
    using enum Reports;
    return std::array<WindowControl, 66>{{
        // name             kind      left   top  width height  parent          tab  align   face    ink     reports  text
        {"teamHeading",    Label,     180,  180, 1500,  240, "",             kNoTab, Left,   Normal, Navy,   Nothing, "Squadra"},
        {"teamBox",        TextBox,  1740,  135, 7380,  315, "",                 37, Left,   Normal, System, Nothing, ""},
        {"holdsHeading",   Label,     180,  600, 1500,  240, "",             kNoTab, Left,   Normal, Navy,   Nothing, "Nell'immagine"},
        {"holdsBox",       TextBox,  1740,  555, 7380,  315, "",                 38, Left,   Normal, System, Nothing, ""},
        {"draftHeading",   Label,     180, 1020, 1500,  240, "",             kNoTab, Left,   Normal, Navy,   Nothing, "In modifica"},
        {"draftBox",       TextBox,  1740,  975, 7380,  315, "",                 39, Left,   Normal, System, Nothing, ""},
        {"draftNote",      Label,    1740, 1350, 7380,  240, "",             kNoTab, Left,   Normal, Navy,   Nothing, ""},
        {"coloursHeading", Label,     180, 1740, 4050,  240, "",             kNoTab, Left,   Normal, Navy,   Nothing, "Colori: parola, R G B da 0 a 31, bit 15"},
        {"swatch1",        Button,    180, 2040,  600,  285, "",                  0, Centre, Normal, System, Clicks,  ""},
        {"colourValue1",   Label,     870, 2070, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit1",       CheckBox, 3210, 2055,  960,  255, "",                  1, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch2",        Button,    180, 2355,  600,  285, "",                  2, Centre, Normal, System, Clicks,  ""},
        {"colourValue2",   Label,     870, 2385, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit2",       CheckBox, 3210, 2370,  960,  255, "",                  3, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch3",        Button,    180, 2670,  600,  285, "",                  4, Centre, Normal, System, Clicks,  ""},
        {"colourValue3",   Label,     870, 2700, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit3",       CheckBox, 3210, 2685,  960,  255, "",                  5, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch4",        Button,    180, 2985,  600,  285, "",                  6, Centre, Normal, System, Clicks,  ""},
        {"colourValue4",   Label,     870, 3015, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit4",       CheckBox, 3210, 3000,  960,  255, "",                  7, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch5",        Button,    180, 3300,  600,  285, "",                  8, Centre, Normal, System, Clicks,  ""},
        {"colourValue5",   Label,     870, 3330, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit5",       CheckBox, 3210, 3315,  960,  255, "",                  9, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch6",        Button,    180, 3615,  600,  285, "",                 10, Centre, Normal, System, Clicks,  ""},
        {"colourValue6",   Label,     870, 3645, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit6",       CheckBox, 3210, 3630,  960,  255, "",                 11, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch7",        Button,    180, 3930,  600,  285, "",                 12, Centre, Normal, System, Clicks,  ""},
        {"colourValue7",   Label,     870, 3960, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit7",       CheckBox, 3210, 3945,  960,  255, "",                 13, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch8",        Button,    180, 4245,  600,  285, "",                 14, Centre, Normal, System, Clicks,  ""},
        {"colourValue8",   Label,     870, 4275, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit8",       CheckBox, 3210, 4260,  960,  255, "",                 15, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch9",        Button,    180, 4560,  600,  285, "",                 16, Centre, Normal, System, Clicks,  ""},
        {"colourValue9",   Label,     870, 4590, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit9",       CheckBox, 3210, 4575,  960,  255, "",                 17, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch10",       Button,    180, 4875,  600,  285, "",                 18, Centre, Normal, System, Clicks,  ""},
        {"colourValue10",  Label,     870, 4905, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit10",      CheckBox, 3210, 4890,  960,  255, "",                 19, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch11",       Button,    180, 5190,  600,  285, "",                 20, Centre, Normal, System, Clicks,  ""},
        {"colourValue11",  Label,     870, 5220, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit11",      CheckBox, 3210, 5205,  960,  255, "",                 21, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch12",       Button,    180, 5505,  600,  285, "",                 22, Centre, Normal, System, Clicks,  ""},
        {"colourValue12",  Label,     870, 5535, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit12",      CheckBox, 3210, 5520,  960,  255, "",                 23, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch13",       Button,    180, 5820,  600,  285, "",                 24, Centre, Normal, System, Clicks,  ""},
        {"colourValue13",  Label,     870, 5850, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit13",      CheckBox, 3210, 5835,  960,  255, "",                 25, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch14",       Button,    180, 6135,  600,  285, "",                 26, Centre, Normal, System, Clicks,  ""},
        {"colourValue14",  Label,     870, 6165, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit14",      CheckBox, 3210, 6150,  960,  255, "",                 27, Left,   Normal, System, Clicks,  "bit 15"},
        {"swatch15",       Button,    180, 6450,  600,  285, "",                 28, Centre, Normal, System, Clicks,  ""},
        {"colourValue15",  Label,     870, 6480, 2250,  240, "",             kNoTab, Left,   Fixed,  System, Nothing, ""},
        {"flagBit15",      CheckBox, 3210, 6465,  960,  255, "",                 29, Left,   Normal, System, Clicks,  "bit 15"},
        {"previewFrame",   Frame,    5040, 1740, 4080, 2100, "",             kNoTab, Left,   Normal, System, Nothing, ""},
        {"preview",        Picture,   210,  120, 3660, 1860, "previewFrame", kNoTab, Left,   Normal, System, Nothing, ""},
        {"numberHeading",  Label,    5040, 4005,  330,  240, "",             kNoTab, Left,   Normal, Navy,   Nothing, "N°"},
        {"numberBox",      TextBox,  5400, 3960,  660,  315, "",                 30, Left,   Normal, System, Edits,   ""},
        {"typeHeading",    Label,    6270, 4005,  510,  240, "",             kNoTab, Left,   Normal, Navy,   Nothing, "Tipo"},
        {"typeBox",        TextBox,  6810, 3960,  510,  315, "",                 31, Left,   Normal, System, Edits,   ""},
        {"startHeading",   Label,    5040, 4485, 1050,  240, "",             kNoTab, Left,   Normal, Navy,   Nothing, "Riparti da"},
        {"fromTeamButton", Button,   6150, 4410, 1440,  375, "",                 32, Centre, Normal, System, Clicks,  "Squadra"},
        {"fromMainButton", Button,   7680, 4410, 1440,  375, "",                 33, Centre, Normal, System, Clicks,  "Disegno N° 1"},
        {"importButton",   Button,   5040, 4920, 1260,  375, "",                 34, Centre, Normal, System, Clicks,  "Import"},
        {"exportButton",   Button,   6450, 4920, 1260,  375, "",                 35, Centre, Normal, System, Clicks,  "Export"},
        {"saveButton",     Button,   7860, 4920, 1260,  375, "",                 36, Centre, Normal, System, Clicks,  "Salva"},
        {"legend",         Label,    5040, 5490, 4080,  960, "",             kNoTab, Left,   Normal, Navy,   Nothing, "Scacchiera: trasparente. La console non\ndisegna 0000, il nero con il bit 15\nspento; il nero che si vede è 8000.\nIn grigio: colori che il disegno non usa."},
    }};
}();
// clang-format on

inline constexpr WindowTable kFlagWindow{"Bandiera della squadra", 9300, 6900, kFlagWindowControls};
static_assert(kFlagWindow.holds());

namespace flag_window {
inline constexpr std::size_t kTeamBox = kFlagWindow.row("teamBox");
inline constexpr std::size_t kHoldsBox = kFlagWindow.row("holdsBox");
inline constexpr std::size_t kDraftBox = kFlagWindow.row("draftBox");
inline constexpr std::size_t kDraftNote = kFlagWindow.row("draftNote");
inline constexpr std::size_t kPreview = kFlagWindow.row("preview");
inline constexpr std::size_t kNumberBox = kFlagWindow.row("numberBox");
inline constexpr std::size_t kTypeBox = kFlagWindow.row("typeBox");
inline constexpr std::size_t kFromTeamButton = kFlagWindow.row("fromTeamButton");
inline constexpr std::size_t kFromMainButton = kFlagWindow.row("fromMainButton");
inline constexpr std::size_t kImportButton = kFlagWindow.row("importButton");
inline constexpr std::size_t kExportButton = kFlagWindow.row("exportButton");
inline constexpr std::size_t kSaveButton = kFlagWindow.row("saveButton");

// Colour k's swatch, value and bit 15 stand in three rows together, k = 1 first.
inline constexpr std::size_t kFirstSwatch = kFlagWindow.row("swatch1");
constexpr std::size_t swatchRow(int k) {
    return kFirstSwatch + 3 * static_cast<std::size_t>(k - 1);
}
constexpr std::size_t valueRow(int k) {
    return swatchRow(k) + 1;
}
constexpr std::size_t flagBitRow(int k) {
    return swatchRow(k) + 2;
}
// The colour whose swatch or bit 15 is `row`; 0 for any other row.
constexpr int colourOfRow(std::size_t row) {
    if (row < kFirstSwatch || row >= swatchRow(kColourCount + 1))
        return 0;
    return static_cast<int>((row - kFirstSwatch) / 3) + 1;
}
static_assert(kFlagWindow[swatchRow(kColourCount)].name == "swatch15" &&
              kFlagWindow[valueRow(7)].name == "colourValue7" &&
              kFlagWindow[flagBitRow(1)].name == "flagBit1");

// The preview draws each pixel of a design's drawing as kPreviewScale x kPreviewScale pixels,
// four times the main window's preview, and is as large as the largest drawing at that scale;
// a swatch's picture fills its button but for a margin.
inline constexpr int kPreviewScale = 4;
inline constexpr int kSwatchWidth = 32;
inline constexpr int kSwatchHeight = 13;
}  // namespace flag_window

}  // namespace tavrel
