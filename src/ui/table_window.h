// TableWindow: a Qt window made from a window table (editor/window_table.h): its controls
// made, placed and given their faces and colours, Tab's walk through the table's focus order,
// each user's action on a control reported to the window's editor (WindowEvents), and what
// the editor shows (WindowServices). Nothing here knows which window it makes.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include <QWidget>

#include "editor/window_services.h"
#include "editor/window_table.h"
#include "window_dialogs.h"

namespace tavrel {

class TableWindow : public QWidget {
public:
    // Without `dialogs` the window uses Qt's own message boxes and file dialog.
    TableWindow(const WindowTable& table, std::unique_ptr<WindowDialogs> dialogs);
    ~TableWindow() override;

    // The window as its editor changes it.
    WindowServices& services() { return *services_; }
    // Where the user's actions go; none are reported before this is set.
    void reportTo(WindowEvents& events) { events_ = &events; }

    // Centred on the screen, the focus on the first control of the focus order.
    void showCentred();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Made, placed and given their look from the table (table_window.cpp).
    void createControls();
    void setLook(std::size_t row);
    void connectEvents(std::size_t row);

    // The editor's changes to the controls and the dialogs it asks for
    // (table_window_services.cpp).
    class Services;
    std::unique_ptr<WindowServices> makeServices();

    const WindowTable& table_;
    std::vector<QWidget*> controls_;  // by row
    std::vector<QWidget*> focusOrder_;
    std::unique_ptr<WindowDialogs> dialogs_;
    std::unique_ptr<WindowServices> services_;
    WindowEvents* events_ = nullptr;
};

}  // namespace tavrel
