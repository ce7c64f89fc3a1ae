// MainWindow: the window made, its messages, each user action handed to one editor operation,
// the keys it answers itself, and closing.
#include "main_window.h"

#include <cstring>
#include <stdexcept>

#include "resource_ids.h"

namespace tavrel {
namespace {

constexpr const wchar_t* kClassName = L"TavrelMainWindow";
constexpr const wchar_t* kCaption = L"  tavrel";
// A fixed size: the controls stand where the layout table puts them.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

struct ButtonAction {
    std::size_t control;
    FlagEditor::Operation operation;
};

constexpr std::array kButtonActions{
    ButtonAction{controlAt("backButton"), &FlagEditor::onBack},
    ButtonAction{controlAt("nextButton"), &FlagEditor::onNext},
    ButtonAction{controlAt("saveButton"), &FlagEditor::onSave},
    ButtonAction{controlAt("clearButton"), &FlagEditor::onClear},
    ButtonAction{controlAt("importButton"), &FlagEditor::onImport},
    ButtonAction{controlAt("exportButton"), &FlagEditor::onExport},
    ButtonAction{controlAt("openButton"), &FlagEditor::onOpenImage},
    ButtonAction{controlAt("applyNetsButton"), &FlagEditor::onApplyNets},
};

HICON loadIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric),
                                           ::GetSystemMetrics(heightMetric), 0));
}

bool isEditBox(HWND window) {
    wchar_t kind[16] = {};
    ::GetClassNameW(window, kind, 16);
    return ::lstrcmpiW(kind, L"Edit") == 0;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance), services_(makeServices()), editor_(*services_) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = loadIcon(instance, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = loadIcon(instance, SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass);
    ::CreateWindowExW(0, kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                      nullptr, instance, this);
    if (window_ == nullptr)
        throw std::runtime_error("the main window could not be made");
    dpi_ = ::GetDpiForWindow(window_);
    createControls();
    placeControls();
}

MainWindow::~MainWindow() {
    const HWND preview = control(controlAt("preview"));
    if (const auto bitmap =
            reinterpret_cast<HBITMAP>(::SendMessageW(preview, STM_SETIMAGE, IMAGE_BITMAP, 0)))
        ::DeleteObject(bitmap);
    if (window_ != nullptr)
        ::DestroyWindow(window_);
}

void MainWindow::showCentred() {
    RECT frame{0, 0, pixels(kClientWidthTwips), pixels(kClientHeightTwips)};
    ::AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::SetFocus(control(controlAt("teamList")));
    ::UpdateWindow(window_);
}

LRESULT CALLBACK MainWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const std::size_t index = LOWORD(wParam) - kFirstControlId;
            if (lParam != 0 && index < controls_.size())
                onCommand(index, HIWORD(wParam));
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
            if (const LRESULT brush =
                    colourControl(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
                return brush;
            break;
        case WM_ACTIVATE:
            // A plain window does not keep its focused control across a switch to another
            // window, as a dialog does.
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = ::GetFocus();
            } else {
                const bool ours = lastFocus_ != nullptr && ::IsChild(window_, lastFocus_);
                ::SetFocus(ours ? lastFocus_ : control(controlAt("teamList")));
            }
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            editor_.run(&FlagEditor::onClose);
            ::DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            window_ = nullptr;
            ::PostQuitMessage(editor_.endStatus().value_or(0));
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::onCommand(std::size_t index, UINT code) {
    if (index == controlAt("teamList")) {
        const HWND list = control(index);
        // The list's own selection may have drifted from the chosen team while the focus was
        // away; the arrow keys step from the team chosen.
        if (code == CBN_SETFOCUS && chosenTeam_ >= 0)
            ::SendMessageW(list, CB_SETCURSEL, chosenTeam_, 0);
        if (code == CBN_SELCHANGE) {
            chosenTeam_ = static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0));
            editor_.run(&FlagEditor::onTeamChosen);
        }
        // Typing into the list chooses nothing: a save must never go to a team nobody chose.
        if (code == CBN_EDITCHANGE && chosenTeam_ >= 0) {
            std::wstring label(
                static_cast<std::size_t>(::SendMessageW(list, CB_GETLBTEXTLEN, chosenTeam_, 0)),
                L'\0');
            ::SendMessageW(list, CB_GETLBTEXT, chosenTeam_, reinterpret_cast<LPARAM>(label.data()));
            if (controlText(index) != label)
                chosenTeam_ = -1;
        }
        return;
    }
    if (code != BN_CLICKED)
        return;
    if (index == controlAt("plainNetsOption"))
        return chooseNetOption(NetPattern::Plain, &FlagEditor::onPlainNetsChosen);
    if (index == controlAt("diamondNetsOption"))
        return chooseNetOption(NetPattern::Diamond, &FlagEditor::onDiamondNetsChosen);
    for (const ButtonAction& action : kButtonActions) {
        if (action.control == index)
            return editor_.run(action.operation);
    }
}

// Clicked, not toggled: an option checked by the editor must not run its operation again.
void MainWindow::chooseNetOption(NetPattern pattern, FlagEditor::Operation operation) {
    services_->checkNetOption(pattern);
    editor_.run(operation);
}

bool MainWindow::takeKey(const MSG& message) {
    if (message.message != WM_KEYDOWN ||
        (message.hwnd != window_ && !::IsChild(window_, message.hwnd)))
        return false;
    const bool withControl = ::GetKeyState(VK_CONTROL) < 0;
    if (message.wParam == VK_TAB && !withControl) {
        moveFocus(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    // The image's last change taken back; the window has no control for it. A text box keeps
    // Ctrl+Z for its own typing.
    if (withControl && message.wParam == 'Z' && !isEditBox(message.hwnd)) {
        editor_.run(&FlagEditor::onUndo);
        return true;
    }
    if (withControl && message.wParam == 'C' && message.hwnd == control(controlAt("pairingList"))) {
        copyPairingLine();
        return true;
    }
    return false;
}

// The window's own walk: the system's dialog keys stop at one option of a group only, and the
// focus order visits both net options.
void MainWindow::moveFocus(bool forward) {
    const HWND focus = ::GetFocus();
    const std::size_t count = kFocusOrder.size();
    std::size_t at = count;
    for (std::size_t i = 0; i < count; ++i) {
        const HWND stop = control(kFocusOrder[i]);
        if (stop == focus || ::IsChild(stop, focus))
            at = i;
    }
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t index = at == count ? (forward ? step - 1 : count - step)
                                              : (at + (forward ? step : count - step)) % count;
        const HWND candidate = control(kFocusOrder[index]);
        if (::IsWindowEnabled(candidate) && ::IsWindowVisible(candidate)) {
            ::SetFocus(candidate);
            // Text reached with Tab is selected whole, ready to be typed over.
            if (isEditBox(candidate))
                ::SendMessageW(candidate, EM_SETSEL, 0, -1);
            if (candidate == control(controlAt("teamList")))
                ::SendMessageW(candidate, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
            return;
        }
    }
}

void MainWindow::copyPairingLine() {
    const HWND list = control(controlAt("pairingList"));
    const auto row = static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0));
    if (row < 0 || !::OpenClipboard(window_))
        return;
    std::wstring line(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, row, 0)), L'\0');
    ::SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(line.data()));
    ::EmptyClipboard();
    const std::size_t bytes = (line.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(::GlobalLock(memory), line.c_str(), bytes);
        ::GlobalUnlock(memory);
        if (::SetClipboardData(CF_UNICODETEXT, memory) == nullptr)
            ::GlobalFree(memory);
    }
    ::CloseClipboard();
}

std::wstring MainWindow::controlText(std::size_t index) const {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control(index))), L'\0');
    ::GetWindowTextW(control(index), text.data(), static_cast<int>(text.size() + 1));
    return text;
}

SIZE MainWindow::textSize(HWND control, const std::wstring& text) {
    const HDC dc = ::GetDC(control);
    const HGDIOBJ before =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, before);
    ::ReleaseDC(control, dc);
    return size;
}

int MainWindow::pixels(int twips) const {
    return ::MulDiv(twips, static_cast<int>(dpi_), 1440);
}

}  // namespace tavrel
