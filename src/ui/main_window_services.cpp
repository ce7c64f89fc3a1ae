// MainWindow's side of WindowServices: the editor's reads and writes of the controls, and the
// dialogs it asks for.
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include "editor/messages.h"
#include "main_window.h"

namespace tavrel {

int MainWindow::selectedTeamIndex() const {
    return chosenTeam_;
}

std::string MainWindow::teamListText() const {
    return teamList_->currentText().toStdString();
}

void MainWindow::clearTeamListText() {
    teamList_->setCurrentIndex(-1);
    teamList_->clearEditText();
    chosenTeam_ = -1;
}

std::string MainWindow::nameBoxText() const {
    return nameBox_->text().toStdString();
}

void MainWindow::setNameBoxText(const std::string& text) {
    nameBox_->setText(QString::fromStdString(text));
}

void MainWindow::enableSave() {
    saveButton_->setEnabled(true);
}

std::string MainWindow::positionLabel() const {
    return positionLabel_->text().toStdString();
}

void MainWindow::setPositionLabel(const std::string& text) {
    positionLabel_->setText(QString::fromStdString(text));
    // Sized to its text from a fixed left edge; one pixel beyond the advance, as "1" had.
    positionLabel_->resize(
        positionLabel_->fontMetrics().horizontalAdvance(positionLabel_->text()) + 1,
        positionLabel_->height());
}

void MainWindow::showPreview(int catalogId) {
    QPixmap picture(QStringLiteral(":/previews/%1.bmp").arg(catalogId));
    if (picture.isNull()) {
        // A design without a bitmap still shows that something is there to save.
        picture = QPixmap(preview_->size());
        picture.fill(palette().color(QPalette::Mid));
    }
    preview_->setPixmap(picture);
}

int MainWindow::pairingCount() const {
    return pairingList_->count();
}

std::string MainWindow::pairingLine(int index) const {
    const QListWidgetItem* item = pairingList_->item(index);
    return item ? item->text().toStdString() : std::string();
}

void MainWindow::removePairingLine(int index) {
    delete pairingList_->takeItem(index);
}

void MainWindow::addPairingLine(const std::string& line) {
    pairingList_->addItem(QString::fromStdString(line));
}

void MainWindow::clearPairingList() {
    pairingList_->clear();
}

void MainWindow::checkNetOption(NetPattern pattern) {
    (pattern == NetPattern::Plain ? plainNetsOption_ : diamondNetsOption_)->setChecked(true);
}

void MainWindow::showMessage(const std::string& text, MessageIcon icon) {
    dialogs_->showMessage(dialogParent(), QString::fromUtf8(text::kTitle),
                          QString::fromStdString(text), icon);
}

bool MainWindow::askYesNo(const std::string& question) {
    return dialogs_->askYesNo(dialogParent(), QString::fromUtf8(text::kTitle),
                              QString::fromStdString(question));
}

std::string MainWindow::askOpenFileName(const OpenDialogRequest& request) {
    FileDialogSetup setup;
    for (const FileFilter& filter : request.filters) setup.nameFilters << qtNameFilter(filter);
    setup.folder = QFile::decodeName(request.initialFolder.c_str());
    if (!request.clearFileName)
        setup.fileName = lastFileName_;
    const QString chosen = dialogs_->askOpenFileName(dialogParent(), setup);
    if (!chosen.isEmpty())
        lastFileName_ = chosen;
    // File names go to the system in its own encoding, not necessarily UTF-8.
    return QFile::encodeName(chosen).toStdString();
}

std::string MainWindow::programFolder() const {
    return QFile::encodeName(dialogs_->programFolder()).toStdString();
}

void MainWindow::endProgram(int exitCode) {
    hide();
    QCoreApplication::exit(exitCode);
}

}  // namespace tavrel
