// Tavrel on Windows: opens the game image given as its argument (a file dropped on tavrel.exe,
// "Apri con") or asks for one, then shows the flag editor's one window until it is closed.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>

#include <optional>

#include "main_window.h"
#include "platform/platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The open dialog hosts the shell's folder views, which want a single-threaded apartment.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    tavrel::MainWindow window(instance);
    const std::vector<std::string> arguments = tavrel::sys::arguments(0, nullptr);
    // Start-up runs before the window is shown: it may end the program instead (the image
    // dialog cancelled, access refused), and then no window ever appears.
    if (const std::optional<int> status =
            window.editor().startUp(arguments.empty() ? std::string() : arguments.front()))
        return *status;

    window.showCentred();
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.takeKey(message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return window.editor().endStatus().value_or(static_cast<int>(message.wParam));
}
