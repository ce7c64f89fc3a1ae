// TableWindow's controls made from the table, placed at the window's DPI, and their look:
// fonts and navy texts.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <uxtheme.h>

#include <stdexcept>

#include "resource_ids.h"
#include "table_window.h"
#include "wide_text.h"

namespace tavrel {
namespace {

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

ControlClass classOf(const WindowControl& control) {
    switch (control.kind) {
        case ControlKind::Label:
            // SS_NOPREFIX: a "&" is a character, never an access key.
            return {WC_STATICW,
                    static_cast<DWORD>(SS_NOPREFIX |
                                       (centresText(control.align) ? SS_CENTER : SS_LEFT)),
                    0};
        case ControlKind::ComboBox:
            return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::TextBox:
            // A text box whose typing is not reported is the editor's text, to read and copy.
            return {WC_EDITW,
                    static_cast<DWORD>(ES_AUTOHSCROLL | WS_TABSTOP |
                                       (control.reports == Reports::Nothing ? ES_READONLY : 0)),
                    WS_EX_CLIENTEDGE};
        case ControlKind::Frame:
            return {WC_BUTTONW, BS_GROUPBOX, 0};  // its title is a label of its own
        case ControlKind::Picture:
            // SS_NOTIFY: clicks, double clicks and the pointer's tooltip reach the window.
            return {WC_STATICW,
                    static_cast<DWORD>(SS_BITMAP |
                                       (control.reports != Reports::Nothing ? SS_NOTIFY : 0)),
                    0};
        case ControlKind::Button:
            return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::OptionButton:
            // Checked by the window itself: none is checked until the editor or the user
            // checks one.
            return {WC_BUTTONW, BS_RADIOBUTTON | WS_TABSTOP, 0};
        case ControlKind::ListBox:
            return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::CheckBox:
            // Checked by the editor, once it has heard the click.
            return {WC_BUTTONW, BS_CHECKBOX | WS_TABSTOP, 0};
    }
    throw std::logic_error("a control of no known kind");
}

// Buttons and frames read "&" as an access key; their texts show it as it stands.
std::wstring shownText(const WindowControl& control) {
    std::wstring text = wideText(control.text);
    if (control.kind == ControlKind::Label)
        return text;
    for (std::size_t at = text.find(L'&'); at != std::wstring::npos; at = text.find(L'&', at + 2))
        text.insert(at, 1, L'&');
    return text;
}

// Navy texts stand on the window's face, or on the system's text-field background where the
// control has one of its own or the table asks for it.
int groundOf(const WindowControl& control) {
    const bool field = control.ink == Ink::NavyOnField || control.kind == ControlKind::ListBox ||
                       control.kind == ControlKind::TextBox ||
                       control.kind == ControlKind::ComboBox;
    return field ? COLOR_WINDOW : COLOR_BTNFACE;
}

// The place in twips within the client area: a frame's controls stand relative to the frame.
RECT twipsPlace(const WindowTable& table, const WindowControl& control) {
    RECT place{control.left, control.top, control.left + control.width,
               control.top + control.height};
    if (!control.parent.empty()) {
        const WindowControl& frame = table[table.row(control.parent)];
        ::OffsetRect(&place, frame.left, frame.top);
    }
    return place;
}

}  // namespace

void TableWindow::createControls() {
    const std::size_t count = table_.controls.size();
    controls_.assign(count, nullptr);
    frameTitles_.assign(count, nullptr);
    pictures_.assign(count, 0);
    images_.assign(count, {});
    tipped_.assign(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        const WindowControl& row = table_[i];
        const ControlClass kind = classOf(row);
        // Every control is the window's own child, a frame's too: a frame is drawn around its
        // controls but passes them nothing.
        const std::wstring text = row.kind == ControlKind::Frame ? L"" : shownText(row);
        controls_[i] = ::CreateWindowExW(
            kind.extendedStyle, kind.name, text.c_str(), WS_CHILD | WS_VISIBLE | kind.style, 0, 0,
            0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
            instance_, nullptr);
        if (controls_[i] == nullptr)
            throw std::runtime_error("the control " + std::string(row.name) + " could not be made");
        if (row.kind == ControlKind::Frame)
            makeFrameTitle(i);
        // Visual styles draw option buttons' texts in the theme's colour; unthemed, they take
        // the navy the window gives them.
        if (row.kind == ControlKind::OptionButton && row.ink != Ink::System)
            ::SetWindowTheme(controls_[i], L"", L"");
        if (row.kind == ControlKind::ComboBox && reports(row.reports, Reports::Menu))
            offerCommandsFromField(i);
    }
}

void TableWindow::placeControls() {
    auto fonts = std::make_unique<WindowFonts>(dpi_);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const HFONT font = fonts->font(table_[i].face);
        ::SendMessageW(control(i), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // Sizes rounded on their own: every control keeps its size wherever it stands.
        const RECT twips = twipsPlace(table_, table_[i]);
        const RECT place{pixels(twips.left), pixels(twips.top),
                         pixels(twips.left) + pixels(twips.right - twips.left),
                         pixels(twips.top) + pixels(twips.bottom - twips.top)};
        ::MoveWindow(control(i), place.left, place.top, place.right - place.left,
                     place.bottom - place.top, TRUE);
        if (table_[i].kind == ControlKind::ComboBox)
            fitDropDown(i, place);
        if (frameTitles_[i] != nullptr)
            placeFrameTitle(i, place, font);
    }
    // The old fonts go only once no control shows them.
    fonts_ = std::move(fonts);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (table_[i].align == TextAlign::FitText && table_[i].kind == ControlKind::Label)
            fitLabel(i);
        if (pictures_[i] != 0)
            services_->showPicture(i, pictures_[i]);
        if (!images_[i].pixels.empty())
            services_->showImage(i, images_[i]);
    }
}

// Sized to its text from a fixed left edge.
void TableWindow::fitLabel(std::size_t row) {
    const HWND label = control(row);
    const SIZE size = textSize(label, controlText(row));
    RECT place{};
    ::GetWindowRect(label, &place);
    ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    ::MoveWindow(label, place.left, place.top, size.cx + kFitSlack, place.bottom - place.top, TRUE);
}

// A frame draws its title in the theme's colour whatever the window asks, so a label shows
// it instead, over the frame's top line as the frame's own title would stand. Made after the
// frame, which goes to the bottom: the frame's controls and its title lie over it.
void TableWindow::makeFrameTitle(std::size_t frame) {
    ::SetWindowPos(control(frame), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const WindowControl& row = table_[frame];
    if (row.text.empty())
        return;
    frameTitles_[frame] = ::CreateWindowExW(0, WC_STATICW, wideText(row.text).c_str(),
                                            WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_CENTER, 0, 0,
                                            0, 0, window_, nullptr, instance_, nullptr);
}

void TableWindow::placeFrameTitle(std::size_t frame, RECT place, HFONT font) {
    const HWND title = frameTitles_[frame];
    ::SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const SIZE size = textSize(title, wideText(table_[frame].text));
    // The blank of two pixels on each side keeps the frame's line off the letters.
    ::MoveWindow(title, place.left + pixels(90), place.top, size.cx + pixels(60), size.cy, TRUE);
}

// The table gives the selection field's height; the list drops below it, ten lines long.
void TableWindow::fitDropDown(std::size_t row, RECT place) {
    const HWND list = control(row);
    RECT closed{};
    ::GetWindowRect(list, &closed);
    const auto field = static_cast<int>(::SendMessageW(list, CB_GETITEMHEIGHT, -1, 0));
    const int excess = (closed.bottom - closed.top) - (place.bottom - place.top);
    ::SendMessageW(list, CB_SETITEMHEIGHT, -1, field - excess);
    const auto line = static_cast<int>(::SendMessageW(list, CB_GETITEMHEIGHT, 0, 0));
    ::MoveWindow(list, place.left, place.top, place.right - place.left,
                 place.bottom - place.top + 10 * line + 2, TRUE);
    // Common controls 6 size the list by a count of lines rather than by the window's height.
    ::SendMessageW(list, CB_SETMINVISIBLE, 10, 0);
}

LRESULT TableWindow::colourControl(HWND shown, HDC dc) {
    for (std::size_t row = 0; row < controls_.size(); ++row) {
        const WindowControl& control = table_[row];
        if (control.ink == Ink::System || (controls_[row] != shown && frameTitles_[row] != shown))
            continue;
        ::SetTextColor(dc, RGB(kNavy.red, kNavy.green, kNavy.blue));
        ::SetBkColor(dc, ::GetSysColor(groundOf(control)));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(groundOf(control)));
    }
    return 0;
}

void TableWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    placeControls();
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tavrel
