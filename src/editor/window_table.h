// A window as data for every window front end: for each control what it is, where it stands,
// which frame holds it, where it comes in the focus order, its text, its face and colour, and
// which of the user's actions on it the window reports to its editor. A front end makes any
// window from such a table; what the editor then does to the window names controls by their
// rows. Places and sizes are in twips (1/1440 inch; 15 make one pixel at 96 dpi), relative to
// the client area or to the frame holding the control.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// A text box whose typing the window does not report is read-only: its text is the editor's,
// there to be read and copied.
enum class ControlKind {
    Label,
    ComboBox,
    TextBox,
    Frame,
    Picture,
    Button,
    OptionButton,
    ListBox,
    CheckBox
};

// Where a control's text stands across its width. Only labels can be set either way; for the
// other kinds the table records where their kind puts it (buttons centre it). A label that
// fits its text is as wide as the text shows, from its left edge, plus kFitSlack pixels, and
// centres the text in that.
enum class TextAlign { Left, Centre, FitText };
inline constexpr int kFitSlack = 1;  // pixels beyond the text's advance, as "1" had
constexpr bool centresText(TextAlign align) {
    return align != TextAlign::Left;
}

// The window's font and the variants some controls use: Verdana 8.25 points, bold, bold
// italic, 6.75 points, and a fixed-pitch face of 8.25 points for values in columns.
enum class Face { Normal, Bold, BoldItalic, Small, Fixed };
struct FaceStyle {
    double points;
    bool bold;
    bool italic;
    bool fixedPitch = false;
};
constexpr FaceStyle faceStyle(Face face) {
    switch (face) {
        case Face::Normal:
            return {8.25, false, false};
        case Face::Bold:
            return {8.25, true, false};
        case Face::BoldItalic:
            return {8.25, true, true};
        case Face::Small:
            return {6.75, false, false};
        case Face::Fixed:
            return {8.25, false, false, true};
    }
    return {8.25, false, false};
}

// The text's colour: the system's, or navy on the control's own ground, or navy on the
// system's text-field background where the control would stand on the window's face.
enum class Ink { System, Navy, NavyOnField };
struct Rgb {
    std::uint8_t red, green, blue;
};
inline constexpr Rgb kNavy{0, 0, 128};

// The user's actions a control reports (WindowEvents): clicks of buttons, options and check
// boxes, an item chosen from a list's drop-down, the text typed into a box, a double click, the
// window's commands offered in the control's context menu, and the Left and Right arrow keys
// while the control has the focus (a picture takes the focus when clicked).
enum class Reports : unsigned {
    Nothing = 0,
    Clicks = 1,
    Choices = 2,
    Edits = 4,
    DoubleClicks = 8,
    Menu = 16,
    Arrows = 32
};
constexpr Reports operator|(Reports a, Reports b) {
    return static_cast<Reports>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool reports(Reports all, Reports one) {
    return (static_cast<unsigned>(all) & static_cast<unsigned>(one)) != 0;
}

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
    Face face;
    Ink ink;
    Reports reports;
    std::string_view text;  // UTF-8, shown as it stands: "&" is a character, no access key
};

// An action of the whole window rather than of one control: reached with Ctrl and its key
// anywhere in the window, and from the context menu of the controls that report Menu.
struct WindowCommand {
    std::string_view name;
    std::string_view text;  // the menu item's text
    char key;               // an upper-case letter, pressed with Ctrl
};

struct WindowTable {
    std::string_view caption;
    int width;  // the client area, in twips
    int height;
    // In creation order: a frame comes before the controls it holds.
    std::span<const WindowControl> controls;
    std::span<const WindowCommand> commands = {};

    // The row of the control `name`; in a constant expression a name not in the table does
    // not compile.
    constexpr std::size_t row(std::string_view name) const {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i].name == name)
                return i;
        }
        throw "no control of that name in the window's table";
    }
    constexpr const WindowControl& operator[](std::size_t row) const { return controls[row]; }

    // The rows the focus stops at, in the order Tab visits them.
    std::vector<std::size_t> focusOrder() const;

    // Names identify controls; a parent is a frame made before the controls it holds; the
    // focus stops at 0, 1, 2, ... with no place given twice and none left out.
    constexpr bool holds() const;
};

constexpr bool WindowTable::holds() const {
    std::size_t stops = 0;
    for (const WindowControl& control : controls) stops += control.tabIndex != kNoTab;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const WindowControl& control = controls[i];
        std::size_t named = 0, sameTab = 0, parentAt = controls.size();
        for (std::size_t j = 0; j < controls.size(); ++j) {
            named += controls[j].name == control.name;
            sameTab += control.tabIndex != kNoTab && controls[j].tabIndex == control.tabIndex;
            if (!control.parent.empty() && controls[j].name == control.parent)
                parentAt = j;
        }
        const bool tabFits = control.tabIndex == kNoTab ||
                             (control.tabIndex >= 0 &&
                              static_cast<std::size_t>(control.tabIndex) < stops && sameTab == 1);
        const bool parentFits = control.parent.empty() ||
                                (parentAt < i && controls[parentAt].kind == ControlKind::Frame);
        if (named != 1 || !tabFits || !parentFits)
            return false;
    }
    return true;
}

// "Ctrl+B": the command's key as menus and tooltips show it.
inline std::string keyText(const WindowCommand& command) {
    return std::string("Ctrl+") + command.key;
}

// Where a window of `size` opens beside its owner's window `owner`, both in pixels on a screen
// whose work area is `screen`: right of the owner where it fits, else left of it, else against
// the screen's right edge, which leaves the owner's left side (its team list) in view; its top
// level with the owner's, both kept on the screen.
struct ScreenRect {
    int left, top, width, height;
};
constexpr ScreenRect placeBeside(ScreenRect owner, int width, int height, ScreenRect screen) {
    constexpr int kGap = 8;
    const int right = screen.left + screen.width;
    int left = owner.left + owner.width + kGap;
    if (left + width > right)
        left = owner.left - kGap - width >= screen.left ? owner.left - kGap - width : right - width;
    const int bottom = screen.top + screen.height;
    const int top = owner.top + height > bottom ? bottom - height : owner.top;
    return {left < screen.left ? screen.left : left, top < screen.top ? screen.top : top, width,
            height};
}

inline std::vector<std::size_t> WindowTable::focusOrder() const {
    std::vector<std::size_t> order;
    for (int place = 0;; ++place) {
        const std::size_t before = order.size();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i].tabIndex == place)
                order.push_back(i);
        }
        if (order.size() == before)
            return order;
    }
}

}  // namespace tavrel
