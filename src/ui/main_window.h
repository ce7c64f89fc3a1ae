// MainWindow, the program's main window: the main window's table made into a TableWindow, each
// user action handed to its FlagEditor, Ctrl+Z, and files dropped on it; and the flag window
// ("Bandiera della squadra"), made from its own table when first opened, whose actions go to the
// editor's flag window.
#pragma once

#include <memory>

#include "editor/flag_editor.h"
#include "table_window.h"

namespace tavrel {

class MainWindow final : public TableWindow {
public:
    // Without `dialogs` the windows use Qt's own message boxes and dialogs.
    explicit MainWindow(std::shared_ptr<WindowDialogs> dialogs = nullptr);

    FlagEditor& editor() { return editor_; }
    // None before it was first opened.
    TableWindow* flagWindow() { return flagWindow_; }

protected:
    void closeEvent(QCloseEvent* event) override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void takeUndoKey(QWidget* window);

    FlagEditor editor_;
    TableWindow* flagWindow_ = nullptr;  // a child of this window
};

}  // namespace tavrel
