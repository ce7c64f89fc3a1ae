// TableWindow: a Qt window made from a window table (editor/window_table.h): its controls
// made, placed and given their faces and colours, Tab's walk through the table's focus order,
// each user's action on a control and the table's commands reported to the window's editor
// (WindowEvents), and what the editor shows (WindowServices). Nothing here knows which window
// it makes.
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
    // Without `dialogs` the window uses Qt's own message boxes and dialogs. A window with an
    // `owner` is made hidden, stays in front of it, and opens beside it (present()).
    TableWindow(const WindowTable& table, std::shared_ptr<WindowDialogs> dialogs,
                QWidget* owner = nullptr);
    ~TableWindow() override;

    // The window as its editor changes it.
    WindowServices& services() { return *services_; }
    // Where the user's actions go; none are reported before this is set.
    void reportTo(WindowEvents& events) { events_ = &events; }

    // Centred on the screen, the focus on the first control of the focus order.
    void showCentred();

    const std::shared_ptr<WindowDialogs>& dialogs() const { return dialogs_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    // Double clicks and arrow keys on the controls that report them (table_window_input.cpp).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Made, placed and given their look from the table (table_window.cpp).
    void createControls();
    void setLook(std::size_t row);
    void connectEvents(std::size_t row);

    // The table's commands: their keys, and the context menus that offer them
    // (table_window_input.cpp).
    void connectCommands();
    void offerCommands(QWidget* menuOwner);
    template <typename Tell>
    void report(Tell tell) {
        if (events_ != nullptr)
            tell(*events_);
    }

    // The editor's changes to the controls and the dialogs it asks for
    // (table_window_services.cpp).
    class Services;
    std::unique_ptr<WindowServices> makeServices();

    const WindowTable& table_;
    std::vector<QWidget*> controls_;  // by row
    std::vector<QWidget*> focusOrder_;
    std::shared_ptr<WindowDialogs> dialogs_;
    std::unique_ptr<WindowServices> services_;
    WindowEvents* events_ = nullptr;
};

}  // namespace tavrel
