// MainWindow: the flag editor's window made from its table, with the one key it answers.
#include "main_window.h"

#include "editor/main_window_table.h"

namespace tavrel {

MainWindow::MainWindow(HINSTANCE instance)
    : TableWindow(instance, kMainWindow), editor_(services()) {
    reportTo(editor_);
}

bool MainWindow::takeKey(const MSG& message) {
    // The image's last change taken back; the window has no control for it. A text box keeps
    // Ctrl+Z for its own typing.
    if (isKeyHere(message) && ::GetKeyState(VK_CONTROL) < 0 && message.wParam == 'Z' &&
        !isEditBox(message.hwnd)) {
        editor_.run(&FlagEditor::onUndo);
        return true;
    }
    return TableWindow::takeKey(message);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    // Closing the window ends the program.
    if (message == WM_DESTROY)
        ::PostQuitMessage(editor_.endStatus().value_or(0));
    return TableWindow::handle(message, wParam, lParam);
}

}  // namespace tavrel
