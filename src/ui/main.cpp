// Tavrel: opens the game image given as its argument (a file manager's "Open with") or asks
// for one, then shows the flag editor's one window until it is closed.
#include <optional>

#include <QApplication>

#include "main_window.h"
#include "platform/platform.h"
#include "window_icon.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(tavrel::makeWindowIcon());

    tavrel::MainWindow window;
    // Qt took its own options out of argv; the first word left is the image.
    const std::vector<std::string> arguments = tavrel::sys::arguments(argc, argv);
    // Start-up runs before the window is shown: it may end the program instead (the image
    // dialog cancelled, access refused), and then no window ever appears.
    if (const std::optional<int> status =
            window.editor().startUp(arguments.empty() ? std::string() : arguments.front()))
        return *status;

    window.showCentred();
    return QApplication::exec();
}
