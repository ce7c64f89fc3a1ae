// frmFlag, the program's one window: creates the controls, hands each user action to one
// operation of its FlagEditor, and gives the editor the window services it asks for.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QWidget>

#include "editor/flag_editor.h"
#include "editor/window_services.h"
#include "window_dialogs.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tavrel {

class frmFlag final : public QWidget, public WindowServices {
    Q_OBJECT

public:
    // Without `dialogs` the window uses Qt's own message boxes and file dialog.
    explicit frmFlag(std::unique_ptr<WindowDialogs> dialogs = nullptr);
    ~frmFlag() override;

    FlagEditor& editor() { return editor_; }

    // The status the editor asked the program to end with, once it has.
    std::optional<int> endStatus() const { return endStatus_; }

    // Centred on the screen, the team list with the focus.
    void showCentred();

    // WindowServices.
    int selectedTeamIndex() const override;
    std::string teamListText() const override;
    void clearTeamListText() override;
    std::string nameBoxText() const override;
    void setNameBoxText(const std::string& text) override;
    void enableSave() override;
    std::string positionLabel() const override;
    void setPositionLabel(const std::string& text) override;
    void showPreview(int catalogId) override;
    int pairingCount() const override;
    std::string pairingLine(int index) const override;
    void removePairingLine(int index) override;
    void addPairingLine(const std::string& line) override;
    void clearPairingList() override;
    void checkNetOption(NetPattern pattern) override;
    void showMessage(const std::string& text, MessageIcon icon) override;
    bool askYesNo(const std::string& question) override;
    std::string askOpenFileName(const OpenDialogRequest& request) override;
    std::string programFolder() const override;
    void endProgram(int exitCode) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void createControls();
    void placeControls();
    void setFonts();
    void setColours();
    void orderFocus();
    void connectEvents();

    // Runs one editor operation for a user action; none runs once the program is ending.
    void run(void (FlagEditor::*operation)());
    QWidget* dialogParent();

    QLabel* Label1 = nullptr;
    QComboBox* cboSeqSQ = nullptr;
    QLineEdit* txtSqHEX = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* imgFlag = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label34 = nullptr;
    QLabel* lblPos = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdSalva = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdImp = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdOpen = nullptr;
    QLabel* Label4 = nullptr;
    QListWidget* listAbbin = nullptr;
    QGroupBox* fraReti = nullptr;
    QRadioButton* optNorm = nullptr;
    QRadioButton* optRombi = nullptr;
    QPushButton* cmdReti = nullptr;
    QLabel* Label5 = nullptr;

    std::vector<QWidget*> focusOrder_;
    std::unique_ptr<WindowDialogs> dialogs_;
    FlagEditor editor_;
    int chosenTeam_ = -1;  // the item last chosen in cboSeqSQ, until its text is edited away
    QString lastFileName_;
    std::optional<int> endStatus_;
};

}  // namespace tavrel
