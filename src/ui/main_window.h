// MainWindow, the program's one window: the main window's table made into a TableWindow, each
// user action handed to its FlagEditor, Ctrl+Z, and files dropped on it.
#pragma once

#include <memory>

#include "editor/flag_editor.h"
#include "table_window.h"

namespace tavrel {

class MainWindow final : public TableWindow {
public:
    // Without `dialogs` the window uses Qt's own message boxes and file dialog.
    explicit MainWindow(std::unique_ptr<WindowDialogs> dialogs = nullptr);

    FlagEditor& editor() { return editor_; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    FlagEditor editor_;
};

}  // namespace tavrel
