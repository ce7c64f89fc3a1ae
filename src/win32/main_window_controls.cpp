// MainWindow's controls made from the window's layout table, placed at the window's DPI, and
// their look: fonts and navy texts.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <uxtheme.h>

#include <stdexcept>

#include "game/team_table.h"
#include "main_window.h"
#include "resource_ids.h"
#include "wide_text.h"

namespace tavrel {
namespace {

constexpr COLORREF kNavy = RGB(0, 0, 128);

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

ControlClass classOf(const WindowControl& control) {
    switch (control.kind) {
        case ControlKind::Label:
            // SS_NOPREFIX: the "&" above the pairing list is a character, never an access key.
            return {WC_STATICW,
                    static_cast<DWORD>(SS_NOPREFIX |
                                       (control.align == TextAlign::Centre ? SS_CENTER : SS_LEFT)),
                    0};
        case ControlKind::ComboBox:
            return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::TextBox:
            return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::Frame:
            return {WC_BUTTONW, BS_GROUPBOX, 0};  // its title is a label of its own
        case ControlKind::Picture:
            return {WC_STATICW, SS_BITMAP, 0};
        case ControlKind::Button:
            return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::OptionButton:
            // Checked by the window itself: neither option is checked until the image's net
            // bytes or the user choose one.
            return {WC_BUTTONW, BS_RADIOBUTTON | WS_TABSTOP, 0};
        case ControlKind::ListBox:
            return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
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

FontFace faceOf(std::size_t index) {
    if (index == controlAt("numberSign") || index == controlAt("positionLabel"))
        return FontFace::Bold;
    if (index == controlAt("creditLabel"))
        return FontFace::BoldItalic;
    if (index == controlAt("netsFrame") || index == controlAt("plainNetsOption") ||
        index == controlAt("diamondNetsOption") || index == controlAt("applyNetsButton"))
        return FontFace::Small;
    return FontFace::Normal;
}

// Navy texts, on the form's face or, for the catalog position and the pairing list, on the
// system's text field background.
struct NavyText {
    std::size_t control;
    int background;  // a system colour
};

constexpr std::array kNavyTexts{
    NavyText{controlAt("teamHeading"), COLOR_BTNFACE},
    NavyText{controlAt("previewHeading"), COLOR_BTNFACE},
    NavyText{controlAt("pairingHeading"), COLOR_BTNFACE},
    NavyText{controlAt("creditLabel"), COLOR_BTNFACE},
    NavyText{controlAt("netsFrame"), COLOR_BTNFACE},
    NavyText{controlAt("plainNetsOption"), COLOR_BTNFACE},
    NavyText{controlAt("diamondNetsOption"), COLOR_BTNFACE},
    NavyText{controlAt("numberSign"), COLOR_WINDOW},
    NavyText{controlAt("positionLabel"), COLOR_WINDOW},
    NavyText{controlAt("pairingList"), COLOR_WINDOW},
};

// The place in twips within the client area: a frame's controls stand relative to the frame.
RECT twipsPlace(const WindowControl& control) {
    RECT place{control.left, control.top, control.left + control.width,
               control.top + control.height};
    if (!control.parent.empty()) {
        for (const WindowControl& frame : kWindowControls) {
            if (frame.name == control.parent)
                ::OffsetRect(&place, frame.left, frame.top);
        }
    }
    return place;
}

}  // namespace

void MainWindow::createControls() {
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        const WindowControl& row = kWindowControls[i];
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
    }
    // Visual styles draw option buttons' texts in the theme's colour; unthemed, they take the
    // navy the window gives them.
    for (const std::size_t navy : {controlAt("plainNetsOption"), controlAt("diamondNetsOption")})
        ::SetWindowTheme(control(navy), L"", L"");
    const HWND teamList = control(controlAt("teamList"));
    for (const Team& team : kTeams)
        ::SendMessageW(teamList, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(wideText(team.label).c_str()));
    // Saving waits for a team to be chosen.
    ::EnableWindow(control(controlAt("saveButton")), FALSE);
}

void MainWindow::placeControls() {
    auto fonts = std::make_unique<WindowFonts>(dpi_);
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        ::SendMessageW(control(i), WM_SETFONT, reinterpret_cast<WPARAM>(fonts->font(faceOf(i))),
                       FALSE);
        // Sizes rounded on their own: every control keeps its size wherever it stands.
        const RECT twips = twipsPlace(kWindowControls[i]);
        const RECT place{pixels(twips.left), pixels(twips.top),
                         pixels(twips.left) + pixels(twips.right - twips.left),
                         pixels(twips.top) + pixels(twips.bottom - twips.top)};
        ::MoveWindow(control(i), place.left, place.top, place.right - place.left,
                     place.bottom - place.top, TRUE);
        if (i == controlAt("teamList"))
            fitTeamList(place);
        if (frameTitles_[i] != nullptr)
            placeFrameTitle(i, place, fonts->font(faceOf(i)));
    }
    // The old fonts go only once no control shows them.
    fonts_ = std::move(fonts);
    services_->setPositionLabel(services_->positionLabel());
    if (previewId_ != 0)
        services_->showPreview(previewId_);
}

// A frame draws its title in the theme's colour whatever the window asks, so a label shows
// it instead, over the frame's top line as the frame's own title would stand. Made after the
// frame, which goes to the bottom: the frame's controls and its title lie over it.
void MainWindow::makeFrameTitle(std::size_t frame) {
    ::SetWindowPos(control(frame), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const WindowControl& row = kWindowControls[frame];
    if (row.text.empty())
        return;
    frameTitles_[frame] = ::CreateWindowExW(0, WC_STATICW, wideText(row.text).c_str(),
                                            WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_CENTER, 0, 0,
                                            0, 0, window_, nullptr, instance_, nullptr);
}

void MainWindow::placeFrameTitle(std::size_t frame, RECT place, HFONT font) {
    const HWND title = frameTitles_[frame];
    ::SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const SIZE size = textSize(title, wideText(kWindowControls[frame].text));
    // The blank of two pixels on each side keeps the frame's line off the letters.
    ::MoveWindow(title, place.left + pixels(90), place.top, size.cx + pixels(60), size.cy, TRUE);
}

// The table gives the selection field's height; the list drops below it, ten lines long.
void MainWindow::fitTeamList(RECT place) {
    const HWND list = control(controlAt("teamList"));
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

LRESULT MainWindow::colourControl(HWND shown, HDC dc) {
    for (const NavyText& navy : kNavyTexts) {
        if (control(navy.control) != shown && frameTitles_[navy.control] != shown)
            continue;
        ::SetTextColor(dc, kNavy);
        ::SetBkColor(dc, ::GetSysColor(navy.background));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(navy.background));
    }
    return 0;
}

void MainWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    placeControls();
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tavrel
