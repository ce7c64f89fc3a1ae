// MainWindow as its editor sees it: the editor's reads and writes of the controls, and the
// dialogs it asks for.
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
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

class MainWindow::Services final : public WindowServices {
public:
    explicit Services(MainWindow& main) : main_(main) {}

    int selectedTeamIndex() const override { return main_.chosenTeam_; }

    std::string teamListText() const override {
        return main_.teamList_->currentText().toStdString();
    }

    void clearTeamListText() override {
        main_.teamList_->setCurrentIndex(-1);
        main_.teamList_->clearEditText();
        main_.chosenTeam_ = -1;
    }

    std::string nameBoxText() const override { return main_.nameBox_->text().toStdString(); }

    void setNameBoxText(const std::string& text) override {
        main_.nameBox_->setText(QString::fromStdString(text));
    }

    void enableSave() override { main_.saveButton_->setEnabled(true); }

    std::string positionLabel() const override {
        return main_.positionLabel_->text().toStdString();
    }

    void setPositionLabel(const std::string& text) override {
        QLabel* label = main_.positionLabel_;
        label->setText(QString::fromStdString(text));
        // Sized to its text from a fixed left edge; one pixel beyond the advance, as "1" had.
        label->resize(label->fontMetrics().horizontalAdvance(label->text()) + 1, label->height());
    }

    void showPreview(int catalogId) override {
        QPixmap picture(QStringLiteral(":/previews/%1.bmp").arg(catalogId));
        if (picture.isNull()) {
            // A design without a bitmap still shows that something is there to save.
            picture = QPixmap(main_.preview_->size());
            picture.fill(main_.palette().color(QPalette::Mid));
        }
        main_.preview_->setPixmap(picture);
    }

    int pairingCount() const override { return main_.pairingList_->count(); }

    std::string pairingLine(int index) const override {
        const QListWidgetItem* item = main_.pairingList_->item(index);
        return item ? item->text().toStdString() : std::string();
    }

    void removePairingLine(int index) override { delete main_.pairingList_->takeItem(index); }

    void addPairingLine(const std::string& line) override {
        main_.pairingList_->addItem(QString::fromStdString(line));
    }

    void clearPairingList() override { main_.pairingList_->clear(); }

    void checkNetOption(NetPattern pattern) override {
        (pattern == NetPattern::Plain ? main_.plainNetsOption_ : main_.diamondNetsOption_)
            ->setChecked(true);
    }

    void showMessage(const std::string& text, MessageIcon icon) override {
        main_.dialogs_->showMessage(dialogParent(), QString::fromUtf8(text::kTitle),
                                    QString::fromStdString(text), icon);
    }

    bool askYesNo(const std::string& question) override {
        return main_.dialogs_->askYesNo(dialogParent(), QString::fromUtf8(text::kTitle),
                                        QString::fromStdString(question));
    }

    std::string askOpenFileName(const OpenDialogRequest& request) override {
        FileDialogSetup setup;
        for (const FileFilter& filter : request.filters) setup.nameFilters << qtNameFilter(filter);
        setup.folder = QFile::decodeName(request.initialFolder.c_str());
        const QString suggested =
            setup.folder + QLatin1Char('/') + QFile::decodeName(request.suggestedName.c_str());
        if (!request.clearFileName)
            setup.fileName = !lastFileName_.isEmpty() || !QFileInfo(suggested).isFile()
                                 ? lastFileName_
                                 : suggested;
        const QString chosen = main_.dialogs_->askOpenFileName(dialogParent(), setup);
        if (!chosen.isEmpty())
            lastFileName_ = chosen;
        // File names go to the system in its own encoding, not necessarily UTF-8.
        return QFile::encodeName(chosen).toStdString();
    }

    std::string programFolder() const override {
        return QFile::encodeName(main_.dialogs_->programFolder()).toStdString();
    }

    void endProgram(int exitCode) override {
        main_.hide();
        QCoreApplication::exit(exitCode);
    }

private:
    QWidget* dialogParent() { return main_.isVisible() ? &main_ : nullptr; }

    MainWindow& main_;
    QString lastFileName_;
};

std::unique_ptr<WindowServices> MainWindow::makeServices() {
    return std::make_unique<Services>(*this);
}

}  // namespace tavrel
