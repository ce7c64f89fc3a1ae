// MainWindow, the program's main window on Windows: the main window's table made into a
// TableWindow, each user action handed to its FlagEditor, Ctrl+Z, files dropped on it, and the
// end of the program once the window is gone; and the flag window ("Bandiera della squadra"),
// made from its own table when first opened and owned by this one, whose actions go to the
// editor's flag window.
#pragma once

#include <windows.h>

#include <memory>

#include "editor/flag_editor.h"
#include "table_window.h"

namespace tavrel {

class MainWindow final : public TableWindow {
public:
    // Made hidden: start-up asks for the image before anything shows.
    explicit MainWindow(HINSTANCE instance);

    FlagEditor& editor() { return editor_; }

    // Ctrl+Z in either window, then the keys each window answers.
    bool takeKey(const MSG& message) override;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

    FlagEditor editor_;
    std::unique_ptr<TableWindow> flagWindow_;  // once first opened
};

}  // namespace tavrel
