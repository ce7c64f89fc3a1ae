// MainWindow: the flag editor's window made from its table, with the one key it answers.
#include "main_window.h"

#include <QDropEvent>
#include <QMimeData>
#include <QShortcut>
#include <QTimer>

#include "editor/main_window_table.h"

namespace tavrel {
namespace {

// The first local file a drag carries; empty for text, a web address, or nothing.
QString droppedFile(const QMimeData* data) {
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.isEmpty() || !urls.front().isLocalFile() ? QString() : urls.front().toLocalFile();
}

}  // namespace

MainWindow::MainWindow(std::unique_ptr<WindowDialogs> dialogs)
    : TableWindow(kMainWindow, std::move(dialogs)), editor_(services()) {
    setObjectName(QStringLiteral("MainWindow"));
    reportTo(editor_);
    // The image's last change taken back; the window has no control for it.
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
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

}  // namespace tavrel
