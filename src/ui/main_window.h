// MainWindow, the program's one window: makes its controls from the window's layout table, hands
// each user action to one operation of its FlagEditor, and gives the editor the window services
// it asks for.
#pragma once

#include <memory>
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

class MainWindow final : public QWidget {
    Q_OBJECT

public:
    // Without `dialogs` the window uses Qt's own message boxes and file dialog.
    explicit MainWindow(std::unique_ptr<WindowDialogs> dialogs = nullptr);
    ~MainWindow() override;

    FlagEditor& editor() { return editor_; }
    // The window as its editor reads and changes it.
    WindowServices& services() { return *services_; }

    // Centred on the screen, the team list with the focus.
    void showCentred();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Made and placed from kWindowControls (main_window_controls.cpp).
    void createControls();
    void findControls();
    void setFonts();
    void setColours();
    void orderFocus();
    void connectEvents();

    // The editor's reads and writes of the controls, and the dialogs it asks for
    // (main_window_services.cpp).
    class Services;
    std::unique_ptr<WindowServices> makeServices();

    QLabel* teamHeading_ = nullptr;
    QComboBox* teamList_ = nullptr;
    QLineEdit* nameBox_ = nullptr;
    QLabel* preview_ = nullptr;
    QLabel* previewHeading_ = nullptr;
    QLabel* numberSign_ = nullptr;
    QLabel* positionLabel_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* openButton_ = nullptr;
    QLabel* pairingHeading_ = nullptr;
    QListWidget* pairingList_ = nullptr;
    QGroupBox* netsFrame_ = nullptr;
    QRadioButton* plainNetsOption_ = nullptr;
    QRadioButton* diamondNetsOption_ = nullptr;
    QPushButton* applyNetsButton_ = nullptr;
    QLabel* creditLabel_ = nullptr;

    std::vector<QWidget*> focusOrder_;
    std::unique_ptr<WindowDialogs> dialogs_;
    std::unique_ptr<WindowServices> services_;
    FlagEditor editor_;
    int chosenTeam_ = -1;  // the team last chosen in the list, until its text is edited away
};

}  // namespace tavrel
