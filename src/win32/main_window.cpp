// MainWindow: the flag editor's window made from its table, with the one key it answers.
#include "main_window.h"

#include <shellapi.h>

#include "editor/main_window_table.h"
#include "wide_text.h"

namespace tavrel {
namespace {

// The first file of a drop, which the drop's memory is freed after.
std::string firstDroppedFile(HDROP drop) {
    std::wstring path(::DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    path.resize(::DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    ::DragFinish(drop);
    return utf8Text(path);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : TableWindow(instance, kMainWindow), editor_(services()) {
    reportTo(editor_);
    ::DragAcceptFiles(windowHandle(), TRUE);
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
    if (message == WM_DROPFILES) {
        const std::string path = firstDroppedFile(reinterpret_cast<HDROP>(wParam));
        if (!editor_.endStatus() && !path.empty())
            editor_.onDrop(path);
        return 0;
    }
    return TableWindow::handle(message, wParam, lParam);
}

}  // namespace tavrel
