// The main window as a table (window_table.h): the flag editor's controls, and the rows its
// operations name them by. The team list's items are the team table's labels.
#pragma once

#include <array>

#include "editor/window_table.h"

namespace tavrel {

// clang-format off
inline constexpr auto kMainWindowControls = [] {
    using enum ControlKind;
    using enum TextAlign;
    using enum Face;
    using enum Ink;
    using enum Reports;
    // The team list and the preview offer the flag window in their context menus; a double
    // click on the preview opens it, and Left and Right step the catalog from the preview and
    // the arrow buttons.
    constexpr Reports TeamListActions = Choices | Edits | Menu;
    constexpr Reports PreviewActions = DoubleClicks | Menu | Arrows;
    constexpr Reports ClicksArrows = Clicks | Arrows;
    return std::array<WindowControl, 22>{{
        // name               kind          left   top  width height  parent          tab  align    face        ink          reports          text
        {"teamHeading",       Label,         780,  360, 1815,  255, "",            kNoTab, Centre,  Normal,     Navy,        Nothing,         "Squadra"},
        {"teamList",          ComboBox,      300,  720, 2775,  315, "",                 0, Left,    Normal,     System,      TeamListActions, ""},
        {"nameBox",           TextBox,       720, 1320, 1935,  285, "",                 1, Left,    Normal,     System,      Edits,           ""},
        {"previewFrame",      Frame,        4320,  840, 1695, 1095, "",            kNoTab, Left,    Normal,     System,      Nothing,         ""},
        {"preview",           Picture,       480,  240,  735,  495, "previewFrame", kNoTab, Left,    Normal,     System,      PreviewActions,  ""},
        {"previewHeading",    Label,        4440,  480,  855,  255, "",            kNoTab, Centre,  Normal,     Navy,        Nothing,         "Bandiera"},
        {"numberSign",        Label,        5400,  480,  255,  165, "",            kNoTab, Left,    Bold,       NavyOnField, Nothing,         "N°"},
        {"positionLabel",     Label,        5760,  480,  135,  195, "",            kNoTab, FitText, Bold,       NavyOnField, Nothing,         "1"},
        {"backButton",        Button,       3960, 2160, 1095,  375, "",                 2, Centre,  Normal,     System,      ClicksArrows,    "<---"},
        {"nextButton",        Button,       5160, 2160, 1095,  375, "",                 3, Centre,  Normal,     System,      ClicksArrows,    "--->"},
        {"saveButton",        Button,       3720, 2760, 1335,  375, "",                 4, Centre,  Normal,     System,      Clicks,          "Salva"},
        {"clearButton",       Button,       5160, 2760, 1335,  375, "",                 6, Centre,  Normal,     System,      Clicks,          "Clear"},
        {"importButton",      Button,       3720, 3240, 1335,  375, "",                11, Centre,  Normal,     System,      Clicks,          "Import"},
        {"exportButton",      Button,       5160, 3240, 1335,  375, "",                10, Centre,  Normal,     System,      Clicks,          "Export"},
        {"openButton",        Button,       4200, 3720, 1815,  375, "",                12, Centre,  Normal,     System,      Clicks,          "Apri Image CD"},
        {"pairingHeading",    Label,         240, 1920, 3015,  255, "",            kNoTab, Centre,  Normal,     Navy,        Nothing,         "Abbinamenti Squadra & Bandiera"},
        {"pairingList",       ListBox,       240, 2280, 3015, 2985, "",                 5, Left,    Normal,     Navy,        Nothing,         ""},
        {"netsFrame",         Frame,        3480, 4200, 3255,  735, "",            kNoTab, Left,    Small,      Navy,        Nothing,         "Formato reti"},
        {"plainNetsOption",   OptionButton,  120,  360,  975,  195, "netsFrame",        7, Left,    Small,      Navy,        Clicks,          "Normali"},
        {"diamondNetsOption", OptionButton, 1200,  360,  855,  195, "netsFrame",        8, Left,    Small,      Navy,        Clicks,          "Rombi"},
        {"applyNetsButton",   Button,       2200,  330,  855,  255, "netsFrame",        9, Centre,  Small,      System,      Clicks,          "Modifica"},
        {"creditLabel",       Label,        5040, 5040, 1695,  255, "",            kNoTab, Left,    BoldItalic, Navy,        Nothing,         "Tavrel 1.0"},
    }};
}();
// clang-format on

// Ctrl+B, for "Bandiera": the second window, on Linux as on Windows.
inline constexpr std::array<WindowCommand, 1> kMainWindowCommands{{
    {"flagWindowCommand", "Bandiera della squadra…", 'B'},
}};

inline constexpr WindowTable kMainWindow{"  tavrel", 6930, 5385, kMainWindowControls,
                                         kMainWindowCommands};
static_assert(kMainWindow.holds());

// The controls the editor's operations change or hear from.
namespace main_window {
inline constexpr std::size_t kTeamList = kMainWindow.row("teamList");
inline constexpr std::size_t kNameBox = kMainWindow.row("nameBox");
inline constexpr std::size_t kPreview = kMainWindow.row("preview");
inline constexpr std::size_t kPositionLabel = kMainWindow.row("positionLabel");
inline constexpr std::size_t kBackButton = kMainWindow.row("backButton");
inline constexpr std::size_t kNextButton = kMainWindow.row("nextButton");
inline constexpr std::size_t kSaveButton = kMainWindow.row("saveButton");
inline constexpr std::size_t kClearButton = kMainWindow.row("clearButton");
inline constexpr std::size_t kImportButton = kMainWindow.row("importButton");
inline constexpr std::size_t kExportButton = kMainWindow.row("exportButton");
inline constexpr std::size_t kOpenButton = kMainWindow.row("openButton");
inline constexpr std::size_t kPairingList = kMainWindow.row("pairingList");
inline constexpr std::size_t kPlainNetsOption = kMainWindow.row("plainNetsOption");
inline constexpr std::size_t kDiamondNetsOption = kMainWindow.row("diamondNetsOption");
inline constexpr std::size_t kApplyNetsButton = kMainWindow.row("applyNetsButton");
inline constexpr const WindowCommand& kFlagWindowCommand = kMainWindowCommands[0];
}  // namespace main_window

}  // namespace tavrel
