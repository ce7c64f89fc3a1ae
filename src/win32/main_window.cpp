// MainWindow: the flag editor's window made from its table, with the one key it answers, and
// the flag window it owns.
#include "main_window.h"

#include <shellapi.h>

#include "editor/flag_window_table.h"
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
    editor_.attachFlagWindow([this, instance](WindowEvents& events) -> WindowServices& {
        flagWindow_ = std::make_unique<TableWindow>(instance, kFlagWindow, windowHandle());
        flagWindow_->reportTo(events);
        return flagWindow_->services();
    });
}

bool MainWindow::takeKey(const MSG& message) {
    // The image's last change taken back; neither window has a control for it. A text box
    // that can be typed in keeps Ctrl+Z for its own typing.
    const bool typing = isEditBox(message.hwnd) &&
                        (::GetWindowLongPtrW(message.hwnd, GWL_STYLE) & ES_READONLY) == 0;
    const bool inFlagWindow = flagWindow_ && flagWindow_->isKeyHere(message);
    if ((isKeyHere(message) || inFlagWindow) && ::GetKeyState(VK_CONTROL) < 0 &&
        message.wParam == 'Z' && !typing) {
        editor_.run(&FlagEditor::onUndo);
        return true;
    }
    return (flagWindow_ && flagWindow_->takeKey(message)) || TableWindow::takeKey(message);
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
