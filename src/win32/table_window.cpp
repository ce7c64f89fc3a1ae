// TableWindow: the window made, its messages, each user's action reported to the editor, the
// keys it answers itself, and closing.
#include "table_window.h"

#include <cstring>
#include <stdexcept>

#include "resource_ids.h"
#include "wide_text.h"

namespace tavrel {
namespace {

constexpr const wchar_t* kClassName = L"TavrelTableWindow";
constexpr DWORD kStyle = kWindowStyle;

HICON loadIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric),
                                           ::GetSystemMetrics(heightMetric), 0));
}

std::wstring itemText(HWND list, WPARAM item, UINT lengthMessage, UINT textMessage) {
    std::wstring text(static_cast<std::size_t>(::SendMessageW(list, lengthMessage, item, 0)),
                      L'\0');
    ::SendMessageW(list, textMessage, item, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

}  // namespace

TableWindow::TableWindow(HINSTANCE instance, const WindowTable& table, HWND owner)
    : instance_(instance), table_(table), owner_(owner), services_(makeServices()) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = loadIcon(instance, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = loadIcon(instance, SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass);  // fails harmlessly for a second window
    ::CreateWindowExW(0, kClassName, wideText(table.caption).c_str(), kStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, 0, 0, owner, nullptr, instance, this);
    if (window_ == nullptr)
        throw std::runtime_error("the window could not be made");
    dpi_ = ::GetDpiForWindow(window_);
    createControls();
    placeControls();
}

TableWindow::~TableWindow() {
    for (std::size_t row = 0; row < controls_.size() && window_ != nullptr; ++row) {
        const ControlKind kind = table_[row].kind;
        const UINT take = kind == ControlKind::Picture  ? STM_SETIMAGE
                          : kind == ControlKind::Button ? BM_SETIMAGE
                                                        : 0;
        if (take == 0)
            continue;
        if (const auto bitmap =
                reinterpret_cast<HBITMAP>(::SendMessageW(control(row), take, IMAGE_BITMAP, 0)))
            ::DeleteObject(bitmap);
    }
    if (window_ != nullptr)
        ::DestroyWindow(window_);
}

void TableWindow::showCentred() {
    RECT frame{0, 0, pixels(table_.width), pixels(table_.height)};
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
    ::SetFocus(control(table_.focusOrder().front()));
    ::UpdateWindow(window_);
}

LRESULT CALLBACK TableWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<TableWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TableWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT TableWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const std::size_t row = LOWORD(wParam) - kFirstControlId;
            if (lParam != 0 && row < controls_.size())
                onCommand(row, HIWORD(wParam));
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
                ::SetFocus(ours ? lastFocus_ : control(table_.focusOrder().front()));
            }
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CONTEXTMENU:
            showCommandMenu(reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case WM_CLOSE:
            if (events_ != nullptr)
                events_->closed();
            // An owned window is shown again later; the owner goes, and takes it along.
            if (owner_ != nullptr)
                ::ShowWindow(window_, SW_HIDE);
            else
                ::DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            window_ = nullptr;
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void TableWindow::onCommand(std::size_t row, UINT code) {
    const HWND list = control(row);
    // A drop-down list's own selection may have drifted while the focus was away; the arrow
    // keys step from the item its text reads.
    if (table_[row].kind == ControlKind::ComboBox && code == CBN_SETFOCUS) {
        const std::wstring text = controlText(row);
        const auto item = ::SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str()));
        if (item != CB_ERR && itemText(list, item, CB_GETLBTEXTLEN, CB_GETLBTEXT) == text)
            ::SendMessageW(list, CB_SETCURSEL, item, 0);
    }
    if (table_[row].kind == ControlKind::Picture)
        onPictureNotice(row, code);
    else if (events_ != nullptr)
        report(row, code);
}

void TableWindow::report(std::size_t row, UINT code) {
    const Reports reported = table_[row].reports;
    const ControlKind kind = table_[row].kind;
    if (code == BN_CLICKED && reports(reported, Reports::Clicks) &&
        (kind == ControlKind::Button || kind == ControlKind::OptionButton ||
         kind == ControlKind::CheckBox)) {
        // The option is checked by the click, as the system's automatic ones are.
        if (kind == ControlKind::OptionButton)
            services_->check(row);
        return events_->clicked(row);
    }
    if (kind == ControlKind::ComboBox && code == CBN_SELCHANGE &&
        reports(reported, Reports::Choices))
        return events_->chosen(row,
                               static_cast<int>(::SendMessageW(control(row), CB_GETCURSEL, 0, 0)));
    const bool edited = (kind == ControlKind::ComboBox && code == CBN_EDITCHANGE) ||
                        (kind == ControlKind::TextBox && code == EN_CHANGE);
    if (edited && !settingText_ && reports(reported, Reports::Edits))
        events_->edited(row, utf8Text(controlText(row)));
}

bool TableWindow::isKeyHere(const MSG& message) const {
    return message.message == WM_KEYDOWN &&
           (message.hwnd == window_ || ::IsChild(window_, message.hwnd));
}

bool TableWindow::takeKey(const MSG& message) {
    if (!isKeyHere(message))
        return false;
    const bool withControl = ::GetKeyState(VK_CONTROL) < 0;
    if (message.wParam == VK_TAB && !withControl) {
        moveFocus(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    for (std::size_t row = 0; row < controls_.size(); ++row) {
        if (withControl && message.wParam == 'C' && message.hwnd == control(row) &&
            table_[row].kind == ControlKind::ListBox) {
            copyListLine(row);
            return true;
        }
    }
    return takeCommandOrArrow(message);
}

bool TableWindow::isEditBox(HWND window) {
    wchar_t kind[16] = {};
    ::GetClassNameW(window, kind, 16);
    return ::lstrcmpiW(kind, L"Edit") == 0;
}

// The window's own walk: the system's dialog keys stop at one option of a group only, and the
// focus order may visit them all.
void TableWindow::moveFocus(bool forward) {
    const std::vector<std::size_t> order = table_.focusOrder();
    const HWND focus = ::GetFocus();
    const std::size_t count = order.size();
    std::size_t at = count;
    for (std::size_t i = 0; i < count; ++i) {
        const HWND stop = control(order[i]);
        if (stop == focus || ::IsChild(stop, focus))
            at = i;
    }
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t index = at == count ? (forward ? step - 1 : count - step)
                                              : (at + (forward ? step : count - step)) % count;
        const HWND candidate = control(order[index]);
        if (::IsWindowEnabled(candidate) && ::IsWindowVisible(candidate)) {
            ::SetFocus(candidate);
            // Text reached with Tab is selected whole, ready to be typed over.
            if (isEditBox(candidate))
                ::SendMessageW(candidate, EM_SETSEL, 0, -1);
            if (table_[order[index]].kind == ControlKind::ComboBox)
                ::SendMessageW(candidate, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
            return;
        }
    }
}

void TableWindow::copyListLine(std::size_t row) {
    const HWND list = control(row);
    const auto line = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (line < 0 || !::OpenClipboard(window_))
        return;
    const std::wstring text = itemText(list, line, LB_GETTEXTLEN, LB_GETTEXT);
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
        ::GlobalUnlock(memory);
        if (::SetClipboardData(CF_UNICODETEXT, memory) == nullptr)
            ::GlobalFree(memory);
    }
    ::CloseClipboard();
}

std::wstring TableWindow::controlText(std::size_t row) const {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control(row))), L'\0');
    ::GetWindowTextW(control(row), text.data(), static_cast<int>(text.size() + 1));
    return text;
}

SIZE TableWindow::textSize(HWND control, const std::wstring& text) {
    const HDC dc = ::GetDC(control);
    const HGDIOBJ before =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, before);
    ::ReleaseDC(control, dc);
    return size;
}

int TableWindow::pixels(int twips) const {
    return ::MulDiv(twips, static_cast<int>(dpi_), 1440);
}

}  // namespace tavrel
