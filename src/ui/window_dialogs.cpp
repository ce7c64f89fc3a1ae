// Qt's message boxes and file dialog for the windows, and the filter strings they are given.
#include "window_dialogs.h"

#include <unistd.h>

#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace tavrel {
namespace {

class QtWindowDialogs final : public WindowDialogs {
public:
    void showMessage(QWidget* parent, const QString& title, const QString& text,
                     MessageIcon icon) override {
        QMessageBox box(
            icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information, title,
            text, QMessageBox::Ok, parent);
        // The texts are the program's own, shown as they stand: never read as markup.
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

    bool askYesNo(QWidget* parent, const QString& title, const QString& question) override {
        QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No,
                        parent);
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(QMessageBox::No);
        // The window speaks Italian; Qt's own buttons would not.
        // "&Sì": S answers Yes, as the system's own box does on Windows.
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sì"));
        return box.exec() == QMessageBox::Yes;
    }

    QString askOpenFileName(QWidget* parent, const FileDialogSetup& setup) override {
        QFileDialog dialog(parent);
        // Qt's own dialog behaves the same on every desktop and under a bare X server.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // A mistyped name is caught in the dialog rather than leaving the editor without image.
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(setup.nameFilters);
        if (!dialog.nameFilters().isEmpty())
            dialog.selectNameFilter(dialog.nameFilters().first());
        dialog.setDirectory(setup.folder);
        if (!setup.fileName.isEmpty())
            dialog.selectFile(setup.fileName);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        const QStringList chosen = dialog.selectedFiles();
        return chosen.isEmpty() ? QString() : chosen.first();
    }

    std::optional<QColor> askColour(QWidget* parent, const QColor& initial,
                                    const QString& title) override {
        QColorDialog dialog(initial, parent);
        // Qt's own chooser, as the file dialog: the same on every desktop, with fields for
        // red, green and blue and for the colour's HTML name.
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        dialog.setWindowTitle(title);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.selectedColor();
    }

    QString programFolder() const override {
        return workingFolder(QCoreApplication::applicationDirPath());
    }
};

}  // namespace

std::unique_ptr<WindowDialogs> makeQtWindowDialogs() {
    return std::make_unique<QtWindowDialogs>();
}

QString workingFolder(const QString& programFolder) {
    if (::access(QFile::encodeName(programFolder).constData(), W_OK) == 0)
        return programFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                              QStringLiteral("/Tavrel");
    QDir().mkpath(documents);
    return documents;
}

QString qtNameFilter(const FileFilter& filter) {
    const QString description = QString::fromStdString(filter.description);
    const QString pattern = QString::fromStdString(filter.pattern);
    if (description.contains(pattern))
        return description;
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

}  // namespace tavrel
