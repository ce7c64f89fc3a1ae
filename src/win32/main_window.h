// MainWindow, the program's one window on Windows: the main window's table made into a
// TableWindow, each user action handed to its FlagEditor, Ctrl+Z, files dropped on it, and the
// end of the program once the window is gone.
#pragma once

#include <windows.h>

#include "editor/flag_editor.h"
#include "table_window.h"

namespace tavrel {

class MainWindow final : public TableWindow {
public:
    // Made hidden: start-up asks for the image before anything shows.
    explicit MainWindow(HINSTANCE instance);

    FlagEditor& editor() { return editor_; }

    // Ctrl+Z, then the keys every table window answers.
    bool takeKey(const MSG& message) override;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

    FlagEditor editor_;
};

}  // namespace tavrel
