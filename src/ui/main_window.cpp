// MainWindow: the flag editor's window made from its table, with the one key it answers, and
// the flag window beside it.
#include "main_window.h"

#include <QShortcut>

#include "editor/flag_window_table.h"
#include "editor/main_window_table.h"

namespace tavrel {

MainWindow::MainWindow(std::shared_ptr<WindowDialogs> dialogs)
    : TableWindow(kMainWindow, std::move(dialogs)),
      editor_(services()),
      flagWindow_(new TableWindow(kFlagWindow, this->dialogs(), this)) {
    setObjectName(QStringLiteral("MainWindow"));
    flagWindow_->setObjectName(QStringLiteral("FlagWindow"));
    reportTo(editor_);
    flagWindow_->reportTo(editor_.attachFlagWindow(flagWindow_->services()));
    // The image's last change taken back, from either window; neither has a control for it.
    for (QWidget* window : {static_cast<QWidget*>(this), static_cast<QWidget*>(flagWindow_)})
        connect(new QShortcut(QKeySequence::Undo, window), &QShortcut::activated, this,
                [this] { editor_.run(&FlagEditor::onUndo); });
}

// The flag window goes with the main window.
void MainWindow::closeEvent(QCloseEvent* event) {
    flagWindow_->close();
    TableWindow::closeEvent(event);
}

}  // namespace tavrel
