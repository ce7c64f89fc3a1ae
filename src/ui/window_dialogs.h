// The modal parts of the windows (message boxes, the file-open dialog) and the program's folder,
// behind one seam: the program uses Qt's own dialogs, offscreen tests answer them in code.
#pragma once

#include <memory>
#include <optional>

#include <QColor>
#include <QString>
#include <QStringList>

#include "editor/window_services.h"

class QWidget;

namespace tavrel {

struct FileDialogSetup {
    QStringList nameFilters;  // Qt filter strings; the first is selected
    QString folder;
    QString fileName;  // preset in the name field; empty for a cleared name
};

class WindowDialogs {
public:
    virtual ~WindowDialogs() = default;

    // Modal, one OK button, the given title; returns once closed.
    virtual void showMessage(QWidget* parent, const QString& title, const QString& text,
                             MessageIcon icon) = 0;

    // Modal question with Yes and No buttons, the given title; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& question) = 0;

    // Modal file-open dialog; the chosen path, or an empty text when cancelled.
    virtual QString askOpenFileName(QWidget* parent, const FileDialogSetup& setup) = 0;

    // Modal colour chooser under `title`, starting at `initial`; none when cancelled.
    virtual std::optional<QColor> askColour(QWidget* parent, const QColor& initial,
                                            const QString& title) = 0;

    // The working folder (workingFolder) of the executable.
    virtual QString programFolder() const = 0;
};

// QMessageBox, Qt's own (non-native) QFileDialog and QColorDialog, and the working folder of
// the executable.
std::unique_ptr<WindowDialogs> makeQtWindowDialogs();

// Where the dialogs open and Export writes: the program's own folder when it can be written
// (run from the build folder), else the user's documents folder's "Tavrel", created on demand
// (installed, the program's folder belongs to the system).
QString workingFolder(const QString& programFolder);

// One entry of an editor filter as Qt reads it: "description (pattern)". The description is
// kept whole (leading blank included) when it already names the pattern, as in
// "Image CDRWIN (*.bin)" or "*.flg"; otherwise the pattern is appended in parentheses.
QString qtNameFilter(const FileFilter& filter);

}  // namespace tavrel
