// Tavrel: asks for the game image, then shows the flag editor's one window until it is closed.
#include <optional>

#include <QApplication>

#include "main_window.h"
#include "window_icon.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(tavrel::makeWindowIcon());

    tavrel::MainWindow window;
    // Start-up runs before the window is shown: it may end the program instead (the image
    // dialog cancelled, access refused), and then no window ever appears.
    if (const std::optional<int> status = window.editor().startUp())
        return *status;
    if (const std::optional<int> status = window.editor().endStatus())
        return *status;

    window.showCentred();
    return QApplication::exec();
}
