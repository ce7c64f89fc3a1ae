// TableWindow's input beyond a control's own notifications: the table's commands on their
// keys and in the context menus of the controls that offer them, the arrow keys, and a
// picture's clicks and double clicks.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <windowsx.h>

#include "table_window.h"
#include "wide_text.h"

namespace tavrel {

void TableWindow::showCommandMenu(HWND shown, LPARAM place) {
    std::size_t row = 0;
    while (row < controls_.size() && control(row) != shown) ++row;
    if (row == controls_.size() || !reports(table_[row].reports, Reports::Menu) ||
        table_.commands.empty() || events_ == nullptr)
        return;
    POINT at{GET_X_LPARAM(place), GET_Y_LPARAM(place)};
    if (place == -1) {  // the menu key or Shift+F10: the menu opens on the control
        RECT box{};
        ::GetWindowRect(shown, &box);
        at = {box.left + (box.right - box.left) / 2, box.top + (box.bottom - box.top) / 2};
    }
    const HMENU menu = ::CreatePopupMenu();
    for (std::size_t i = 0; i < table_.commands.size(); ++i) {
        const WindowCommand& command = table_.commands[i];
        // The key stands right of a tab, where menus show keys.
        const std::wstring item = wideText(command.text) + L"\t" + wideText(keyText(command));
        ::AppendMenuW(menu, MF_STRING, i + 1, item.c_str());
    }
    const auto chosen = static_cast<std::size_t>(::TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
    ::DestroyMenu(menu);
    if (chosen != 0)
        events_->commanded(chosen - 1);
}

bool TableWindow::takeCommandOrArrow(const MSG& message) {
    if (events_ == nullptr)
        return false;
    const bool withControl = ::GetKeyState(VK_CONTROL) < 0;
    const bool withAlt = ::GetKeyState(VK_MENU) < 0;
    for (std::size_t i = 0; i < table_.commands.size(); ++i) {
        if (withControl && !withAlt &&
            message.wParam == static_cast<WPARAM>(table_.commands[i].key)) {
            events_->commanded(i);
            return true;
        }
    }
    if ((message.wParam != VK_LEFT && message.wParam != VK_RIGHT) || withControl || withAlt ||
        ::GetKeyState(VK_SHIFT) < 0)
        return false;
    for (std::size_t row = 0; row < controls_.size(); ++row) {
        if (control(row) == message.hwnd && reports(table_[row].reports, Reports::Arrows)) {
            events_->arrowKey(row, message.wParam == VK_LEFT ? -1 : 1);
            return true;
        }
    }
    return false;
}

// A click gives a picture that reports the arrow keys the focus, as a click on a button does.
void TableWindow::onPictureNotice(std::size_t row, UINT code) {
    const Reports reported = table_[row].reports;
    if (code == STN_CLICKED && reports(reported, Reports::Arrows))
        ::SetFocus(control(row));
    if (code == STN_DBLCLK && reports(reported, Reports::DoubleClicks) && events_ != nullptr)
        events_->doubleClicked(row);
}

// The text field of a drop-down list shows its own editing menu; this one's offers the
// window's commands instead, through the window's context-menu message.
void TableWindow::offerCommandsFromField(std::size_t row) {
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof(parts);
    if (::GetComboBoxInfo(control(row), &parts) && parts.hwndItem != nullptr)
        ::SetWindowSubclass(parts.hwndItem, fieldProcedure, row, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK TableWindow::fieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR row, DWORD_PTR self) {
    if (message == WM_CONTEXTMENU) {
        auto* window = reinterpret_cast<TableWindow*>(self);
        window->showCommandMenu(window->control(row), lParam);
        return 0;
    }
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(field, fieldProcedure, row);
    return ::DefSubclassProc(field, message, wParam, lParam);
}

}  // namespace tavrel
