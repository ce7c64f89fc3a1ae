// MainWindow: the flag editor's window made from its table, with the one key it answers, and
// the flag window beside it.
#include "main_window.h"

#include <QDropEvent>
#include <QMimeData>
#include <QShortcut>
#include <QTimer>

#include "editor/flag_window_table.h"
#include "editor/main_window_table.h"

namespace tavrel {
namespace {

// The first local file a drag carries; empty for text, a web address, or nothing.
QString droppedFile(const QMimeData* data) {
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.isEmpty() || !urls.front().isLocalFile() ? QString() : urls.front().toLocalFile();
}

}  // namespace

MainWindow::MainWindow(std::shared_ptr<WindowDialogs> dialogs)
    : TableWindow(kMainWindow, std::move(dialogs)), editor_(services()) {
    setObjectName(QStringLiteral("MainWindow"));
    reportTo(editor_);
    takeUndoKey(this);
    editor_.attachFlagWindow([this](WindowEvents& events) -> WindowServices& {
        flagWindow_ = new TableWindow(kFlagWindow, this->dialogs(), this);
        flagWindow_->setObjectName(QStringLiteral("FlagWindow"));
        flagWindow_->reportTo(events);
        takeUndoKey(flagWindow_);
        return flagWindow_->services();
    });
}

// The image's last change taken back, from either window; neither has a control for it.
void MainWindow::takeUndoKey(QWidget* window) {
    connect(new QShortcut(QKeySequence::Undo, window), &QShortcut::activated, this,
            [this] { editor_.run(&FlagEditor::onUndo); });
    setAcceptDrops(true);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop ends first: the program it came from waits for it, and the questions the editor
    // may ask are modal.
    QTimer::singleShot(0, this, [this, path] {
        if (!editor_.endStatus())
            editor_.onDrop(path.toStdString());
    });
}

// The flag window goes with the main window.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (flagWindow_ != nullptr)
        flagWindow_->close();
    TableWindow::closeEvent(event);
}

}  // namespace tavrel
