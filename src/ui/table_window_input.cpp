// TableWindow's input beyond a control's own signals: double clicks and the arrow keys on the
// controls that report them, the table's commands on their keys, and the context menus that
// offer the commands.
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>

#include "table_window.h"

namespace tavrel {
namespace {

QKeySequence commandKey(const WindowCommand& command) {
    return QKeySequence(Qt::CTRL | static_cast<Qt::Key>(command.key));
}

}  // namespace

bool TableWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto at = std::find(controls_.begin(), controls_.end(), watched);
    if (at == controls_.end())
        return QWidget::eventFilter(watched, event);
    const auto row = static_cast<std::size_t>(at - controls_.begin());
    const Reports reported = table_[row].reports;
    if (event->type() == QEvent::MouseButtonDblClick && reports(reported, Reports::DoubleClicks)) {
        report([row](WindowEvents& e) { e.doubleClicked(row); });
        return true;
    }
    if (event->type() == QEvent::KeyPress && reports(reported, Reports::Arrows)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool left = key->key() == Qt::Key_Left, right = key->key() == Qt::Key_Right;
        if ((left || right) && key->modifiers() == Qt::NoModifier) {
            report([row, left](WindowEvents& e) { e.arrowKey(row, left ? -1 : 1); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TableWindow::connectCommands() {
    for (std::size_t i = 0; i < table_.commands.size(); ++i) {
        auto* shortcut = new QShortcut(commandKey(table_.commands[i]), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, i] { report([i](WindowEvents& e) { e.commanded(i); }); });
    }
}

// A text field's own menu would speak Qt's English; the field offers the commands alone, as
// on Windows.
void TableWindow::offerCommands(QWidget* menuOwner) {
    menuOwner->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(menuOwner, &QWidget::customContextMenuRequested, this,
            [this, menuOwner](const QPoint& place) {
                auto* menu = new QMenu(menuOwner);
                for (std::size_t i = 0; i < table_.commands.size(); ++i) {
                    const WindowCommand& command = table_.commands[i];
                    QAction* action = menu->addAction(
                        QString::fromUtf8(command.text.data(),
                                          static_cast<qsizetype>(command.text.size())),
                        this, [this, i] { report([i](WindowEvents& e) { e.commanded(i); }); });
                    action->setShortcut(commandKey(command));  // shown beside the item
                }
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(menuOwner->mapToGlobal(place));
            });
}

}  // namespace tavrel
