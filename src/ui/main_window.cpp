// MainWindow: the flag editor's window made from its table, with the one key it answers.
#include "main_window.h"

#include <QShortcut>

#include "editor/main_window_table.h"

namespace tavrel {

MainWindow::MainWindow(std::unique_ptr<WindowDialogs> dialogs)
    : TableWindow(kMainWindow, std::move(dialogs)), editor_(services()) {
    setObjectName(QStringLiteral("MainWindow"));
    reportTo(editor_);
    // The image's last change taken back; the window has no control for it.
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            [this] { editor_.run(&FlagEditor::onUndo); });
}

}  // namespace tavrel
