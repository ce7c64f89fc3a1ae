// MainWindow: the window made, each user action handed to one editor operation, Tab's walk
// through the focus order, and closing.
#include "main_window.h"

#include <algorithm>
#include <cstddef>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

#include "window_icon.h"

namespace tavrel {

MainWindow::MainWindow(std::unique_ptr<WindowDialogs> dialogs)
    : dialogs_(dialogs ? std::move(dialogs) : makeQtWindowDialogs()),
      services_(makeServices()),
      editor_(*services_) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("  tavrel"));
    setWindowIcon(makeWindowIcon());
    createControls();
    setFonts();
    setColours();
    orderFocus();
    connectEvents();
}

MainWindow::~MainWindow() = default;

// Qt lets Tab stop at one button of an option group only; the window's order visits both
// net options, so Tab walks that order itself.
bool MainWindow::focusNextPrevChild(bool next) {
    QWidget* current = QApplication::focusWidget();
    auto at = focusOrder_.end();
    for (; current != nullptr && current != this; current = current->parentWidget()) {
        at = std::find(focusOrder_.begin(), focusOrder_.end(), current);
        if (at != focusOrder_.end())
            break;
    }
    if (at == focusOrder_.end())
        return QWidget::focusNextPrevChild(next);
    const auto count = static_cast<std::ptrdiff_t>(focusOrder_.size());
    std::ptrdiff_t index = at - focusOrder_.begin();
    for (std::ptrdiff_t step = 1; step < count; ++step) {
        index = (index + (next ? 1 : count - 1)) % count;
        QWidget* candidate = focusOrder_[static_cast<std::size_t>(index)];
        if (candidate->isEnabled() && candidate->isVisible()) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

void MainWindow::connectEvents() {
    connect(teamList_, &QComboBox::activated, this, [this](int index) {
        chosenTeam_ = index;
        editor_.run(&FlagEditor::onTeamChosen);
    });
    // Typing into the list chooses nothing: Qt's editable combo box would pick the item whose
    // label was typed once editing ends, and a save would then go to a team nobody chose.
    QObject::disconnect(teamList_->lineEdit(), SIGNAL(editingFinished()), teamList_, nullptr);
    connect(teamList_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (chosenTeam_ >= 0 && text != teamList_->itemText(chosenTeam_))
            chosenTeam_ = -1;
    });
    const auto onClick = [this](QAbstractButton* button, FlagEditor::Operation operation) {
        // clicked, not toggled: an option checked by the editor must not run its operation
        // a second time.
        connect(button, &QAbstractButton::clicked, this,
                [this, operation] { editor_.run(operation); });
    };
    onClick(backButton_, &FlagEditor::onBack);
    onClick(nextButton_, &FlagEditor::onNext);
    onClick(saveButton_, &FlagEditor::onSave);
    onClick(clearButton_, &FlagEditor::onClear);
    onClick(importButton_, &FlagEditor::onImport);
    onClick(exportButton_, &FlagEditor::onExport);
    onClick(openButton_, &FlagEditor::onOpenImage);
    onClick(plainNetsOption_, &FlagEditor::onPlainNetsChosen);
    onClick(diamondNetsOption_, &FlagEditor::onDiamondNetsChosen);
    onClick(applyNetsButton_, &FlagEditor::onApplyNets);
    // The image's last change taken back; the window has no control for it.
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            [this] { editor_.run(&FlagEditor::onUndo); });
}

void MainWindow::showCentred() {
    // The client area is centred: a window manager's frame is not known before the window
    // is mapped, and without one (a bare X server) there is none.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }
    teamList_->setFocus();
    show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    editor_.run(&FlagEditor::onClose);
    event->accept();
}

}  // namespace tavrel
