// TableWindow: a window of the system's own controls made from a window table
// (editor/window_table.h): its controls made, placed at the window's DPI and given their faces
// and colours, Tab's walk through the table's focus order, each user's action on a control and
// the table's commands reported to the window's editor (WindowEvents), and what the editor
// shows (WindowServices). Nothing here knows which window it makes.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "editor/window_services.h"
#include "editor/window_table.h"
#include "window_fonts.h"

namespace tavrel {

// A fixed size: the controls stand where the table puts them.
inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

class TableWindow {
public:
    // Made hidden. A window with an `owner` stays in front of it, opens beside it (present()),
    // and is hidden rather than destroyed when closed.
    TableWindow(HINSTANCE instance, const WindowTable& table, HWND owner = nullptr);
    virtual ~TableWindow();
    TableWindow(const TableWindow&) = delete;
    TableWindow& operator=(const TableWindow&) = delete;

    // The window as its editor changes it.
    WindowServices& services() { return *services_; }
    // Where the user's actions go; none are reported before this is set.
    void reportTo(WindowEvents& events) { events_ = &events; }

    // Centred on the screen's work area, the focus on the first control of the focus order.
    void showCentred();

    // The keys the window answers itself before they reach a control: Tab's walk through the
    // focus order, Ctrl+C in a list box, the table's commands, the arrow keys on the controls
    // that report them. True when `message` was one of them.
    virtual bool takeKey(const MSG& message);
    // A key pressed in this window or one of its controls.
    bool isKeyHere(const MSG& message) const;

    HWND windowHandle() const { return window_; }

protected:
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    static bool isEditBox(HWND window);

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

    // Made and placed from the table (table_window_controls.cpp).
    void createControls();
    void placeControls();  // at the window's DPI, fonts included
    void fitDropDown(std::size_t row, RECT place);
    void fitLabel(std::size_t row);
    void makeFrameTitle(std::size_t frame);
    void placeFrameTitle(std::size_t frame, RECT place, HFONT font);
    LRESULT colourControl(HWND control, HDC dc);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    // A drop-down list's text field keeps the context menu for the list's commands.
    void offerCommandsFromField(std::size_t row);

    // The table's commands in a control's context menu, and the keys and notifications only
    // some controls report (table_window_input.cpp).
    void showCommandMenu(HWND control, LPARAM place);
    bool takeCommandOrArrow(const MSG& message);
    void onPictureNotice(std::size_t row, UINT code);
    static LRESULT CALLBACK fieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self);

    // A user's action on the control at `row` (table_window.cpp).
    void onCommand(std::size_t row, UINT code);
    void report(std::size_t row, UINT code);
    void moveFocus(bool forward);
    void copyListLine(std::size_t row);

    // The editor's changes to the controls and the dialogs it asks for
    // (table_window_services.cpp).
    class Services;
    std::unique_ptr<WindowServices> makeServices();

    HWND control(std::size_t row) const { return controls_[row]; }
    std::wstring controlText(std::size_t row) const;
    int pixels(int twips) const;
    static SIZE textSize(HWND control, const std::wstring& text);  // in the control's font

    HINSTANCE instance_;
    const WindowTable& table_;
    HWND owner_;
    HWND window_ = nullptr;
    HWND tips_ = nullptr;  // the window's tooltip control, made with the first tooltip
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::vector<HWND> controls_;                // by row
    std::vector<HWND> frameTitles_;             // by row, for frames with a title
    std::vector<int> pictures_;                 // by row, the picture each picture control shows
    std::vector<FlagPicture> images_;           // by row, the drawn picture a control shows
    std::vector<bool> tipped_;                  // by row, whether the control has a tooltip yet
    std::array<COLORREF, 16> customColours_{};  // the colour chooser's, while the program runs
    std::unique_ptr<WindowFonts> fonts_;
    HWND lastFocus_ = nullptr;  // given back when the window is active again
    bool settingText_ = false;  // the editor's own change of a text is no user's edit
    std::unique_ptr<WindowServices> services_;
    WindowEvents* events_ = nullptr;
};

}  // namespace tavrel
