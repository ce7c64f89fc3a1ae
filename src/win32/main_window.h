// MainWindow, the program's one window on Windows: makes its controls from the window's layout
// table, hands each user action to one operation of its FlagEditor, and gives the editor the
// window services it asks for.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "editor/flag_editor.h"
#include "editor/window_layout.h"
#include "editor/window_services.h"
#include "window_fonts.h"

namespace tavrel {

// A control's place in kWindowControls, which is also its place among the window's controls.
consteval std::size_t controlAt(std::string_view name) {
    return static_cast<std::size_t>(&windowControl(name) - kWindowControls.data());
}

class MainWindow final {
public:
    // Made hidden: start-up asks for the image before anything shows.
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    FlagEditor& editor() { return editor_; }

    // Centred on the screen's work area, the team list with the focus.
    void showCentred();

    // The keys the window answers itself before they reach a control: Tab's walk through the
    // focus order, Ctrl+Z, Ctrl+C in the pairing list. True when `message` was one of them.
    bool takeKey(const MSG& message);

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    // Made and placed from kWindowControls (main_window_controls.cpp).
    void createControls();
    void placeControls();  // at the window's DPI, fonts included
    void fitTeamList(RECT place);
    void makeFrameTitle(std::size_t frame);
    void placeFrameTitle(std::size_t frame, RECT place, HFONT font);
    LRESULT colourControl(HWND control, HDC dc);
    void onDpiChanged(UINT dpi, const RECT& suggested);

    // A user's action on control `index` (main_window.cpp).
    void onCommand(std::size_t index, UINT code);
    void chooseNetOption(NetPattern pattern, FlagEditor::Operation operation);
    void moveFocus(bool forward);
    void copyPairingLine();

    // The editor's reads and writes of the controls, and the dialogs it asks for
    // (main_window_services.cpp).
    class Services;
    std::unique_ptr<WindowServices> makeServices();

    HWND control(std::size_t index) const { return controls_[index]; }
    std::wstring controlText(std::size_t index) const;
    int pixels(int twips) const;
    static SIZE textSize(HWND control, const std::wstring& text);  // in the control's font

    HINSTANCE instance_;
    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::array<HWND, kWindowControls.size()> controls_{};
    std::array<HWND, kWindowControls.size()> frameTitles_{};  // for frames with a title
    std::unique_ptr<WindowFonts> fonts_;
    HWND lastFocus_ = nullptr;  // given back when the window is active again
    int previewId_ = 0;
    std::unique_ptr<WindowServices> services_;
    FlagEditor editor_;
    int chosenTeam_ = -1;  // the team last chosen in the list, until its text is edited away
};

}  // namespace tavrel
