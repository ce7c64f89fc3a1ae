// The main window's controls as data for every window front end: what each control is, where it
// stands, which frame holds it, where it comes in the focus order and the text it shows. Places
// and sizes are in twips (1/1440 inch; 15 make one pixel at 96 dpi), relative to the client
// area or to the frame holding the control; each front end turns them into its own pixels.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tavrel {

enum class ControlKind { Label, ComboBox, TextBox, Frame, Picture, Button, OptionButton, ListBox };

// Where a control's text stands across its width. Only labels can be set either way; for the
// other kinds the table records where their kind puts it (buttons centre it).
enum class TextAlign { Left, Centre };

inline constexpr int kNoTab = -1;  // the focus never stops at the control

struct WindowControl {
    std::string_view name;  // the control's role, also its object name
    ControlKind kind;
    int left;
    int top;
    int width;
    int height;
    std::string_view parent;  // the frame holding the control; empty for the client area
    int tabIndex;             // its place in the focus order, from 0; kNoTab for none
    TextAlign align;
    std::string_view text;  // UTF-8, shown as it stands: "&" is a character, no access key
};

inline constexpr int kClientWidthTwips = 6930;
inline constexpr int kClientHeightTwips = 5385;

// In creation order: a frame comes before the controls it holds. The team list's items are the
// team table's labels.
// clang-format off
inline constexpr auto kWindowControls = [] {
    using enum ControlKind;
    using enum TextAlign;
    return std::array<WindowControl, 22>{{
        // name               kind          left   top  width height  parent          tab  align   text
        {"teamHeading",       Label,         780,  360, 1815,  255, "",            kNoTab, Centre, "Squadra"},
        {"teamList",          ComboBox,      300,  720, 2775,  315, "",                 0, Left,   ""},
        {"nameBox",           TextBox,       720, 1320, 1935,  285, "",                 1, Left,   ""},
        {"previewFrame",      Frame,        4320,  840, 1695, 1095, "",            kNoTab, Left,   ""},
        {"preview",           Picture,       480,  240,  735,  495, "previewFrame", kNoTab, Left,   ""},
        {"previewHeading",    Label,        4440,  480,  855,  255, "",            kNoTab, Centre, "Bandiera"},
        {"numberSign",        Label,        5400,  480,  255,  165, "",            kNoTab, Left,   "N°"},
        {"positionLabel",     Label,        5760,  480,  135,  195, "",            kNoTab, Centre, "1"},
        {"backButton",        Button,       3960, 2160, 1095,  375, "",                 2, Centre, "<---"},
        {"nextButton",        Button,       5160, 2160, 1095,  375, "",                 3, Centre, "--->"},
        {"saveButton",        Button,       3720, 2760, 1335,  375, "",                 4, Centre, "Salva"},
        {"clearButton",       Button,       5160, 2760, 1335,  375, "",                 6, Centre, "Clear"},
        {"importButton",      Button,       3720, 3240, 1335,  375, "",                11, Centre, "Import"},
        {"exportButton",      Button,       5160, 3240, 1335,  375, "",                10, Centre, "Export"},
        {"openButton",        Button,       4200, 3720, 1815,  375, "",                12, Centre, "Apri Image CD"},
        {"pairingHeading",    Label,         240, 1920, 3015,  255, "",            kNoTab, Centre, "Abbinamenti Squadra & Bandiera"},
        {"pairingList",       ListBox,       240, 2280, 3015, 2985, "",                 5, Left,   ""},
        {"netsFrame",         Frame,        3480, 4200, 3255,  735, "",            kNoTab, Left,   "Formato reti"},
        {"plainNetsOption",   OptionButton,  120,  360,  975,  195, "netsFrame",        7, Left,   "Normali"},
        {"diamondNetsOption", OptionButton, 1200,  360,  855,  195, "netsFrame",        8, Left,   "Rombi"},
        {"applyNetsButton",   Button,       2200,  330,  855,  255, "netsFrame",        9, Centre, "Modifica"},
        {"creditLabel",       Label,        5040, 5040, 1695,  255, "",            kNoTab, Left,   "Tavrel 1.0"},
    }};
}();
// clang-format on

// How many controls the focus stops at.
inline constexpr std::size_t kFocusStops = [] {
    std::size_t stops = 0;
    for (const WindowControl& control : kWindowControls) stops += control.tabIndex != kNoTab;
    return stops;
}();

// The row of the control `name`; a name not in the table does not compile.
consteval const WindowControl& windowControl(std::string_view name) {
    for (const WindowControl& control : kWindowControls) {
        if (control.name == name)
            return control;
    }
    throw "no control of that name in kWindowControls";
}

namespace layout_checks {

constexpr std::size_t indexOf(std::string_view name) {
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        if (kWindowControls[i].name == name)
            return i;
    }
    return kWindowControls.size();
}

// Names identify controls (and find them in tests and scripts); a parent is a frame made first.
constexpr bool namesAndParentsHold() {
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        const WindowControl& control = kWindowControls[i];
        if (indexOf(control.name) != i)
            return false;
        const std::size_t parent = indexOf(control.parent);
        if (!control.parent.empty() &&
            (parent >= i || kWindowControls[parent].kind != ControlKind::Frame))
            return false;
    }
    return true;
}

// The focus stops at 0, 1, 2, ... with no place given twice and none left out.
constexpr bool tabIndexesHold() {
    std::array<bool, kWindowControls.size()> taken{};
    for (const WindowControl& control : kWindowControls) {
        if (control.tabIndex == kNoTab)
            continue;
        const auto place = static_cast<std::size_t>(control.tabIndex);
        if (control.tabIndex < 0 || place >= kFocusStops || taken[place])
            return false;
        taken[place] = true;
    }
    return true;
}

static_assert(namesAndParentsHold());
static_assert(tabIndexesHold());

}  // namespace layout_checks

// The controls the focus stops at, as places in kWindowControls, in the order Tab visits them.
inline constexpr auto kFocusOrder = [] {
    std::array<std::size_t, kFocusStops> order{};
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        if (kWindowControls[i].tabIndex != kNoTab)
            order[static_cast<std::size_t>(kWindowControls[i].tabIndex)] = i;
    }
    return order;
}();

}  // namespace tavrel
