// TableWindow as its editor sees it: what the editor shows in the controls, and the dialogs it
// asks for.
#include "table_window.h"
// After windows.h, which it needs.
#include <commctrl.h>

#include "wide_text.h"
#include "window_dialogs.h"

namespace tavrel {
namespace {

// A design without a bitmap still shows that something is there to save.
HBITMAP blankPicture(int width, int height) {
    const HDC screen = ::GetDC(nullptr);
    const HDC drawing = ::CreateCompatibleDC(screen);
    const HBITMAP picture = ::CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ before = ::SelectObject(drawing, picture);
    const RECT all{0, 0, width, height};
    ::FillRect(drawing, &all, ::GetSysColorBrush(COLOR_BTNSHADOW));
    ::SelectObject(drawing, before);
    ::DeleteDC(drawing);
    ::ReleaseDC(nullptr, screen);
    return picture;
}

// `image` centred on a bitmap of `width` x `height` pixels of the window's face, each of its
// pixels `dpi` / 96 screen pixels wide, taken by the nearest pixel so that none is blurred.
HBITMAP drawnPicture(const FlagPicture& image, int width, int height, UINT dpi) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP picture = ::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (picture == nullptr)
        return nullptr;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const int shownWidth = ::MulDiv(image.width, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    const int shownHeight = ::MulDiv(image.height, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    const int left = (width - shownWidth) / 2, top = (height - shownHeight) / 2;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int u = x - left, v = y - top;
            std::uint32_t bgr = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
            if (u >= 0 && v >= 0 && u < shownWidth && v < shownHeight) {
                const Rgba8 pixel =
                    image.at(u * image.width / shownWidth, v * image.height / shownHeight);
                bgr = static_cast<std::uint32_t>(pixel.red << 16 | pixel.green << 8 | pixel.blue);
            }
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)] = bgr;
        }
    }
    return picture;
}

// The messages that empty a list and add a line to it: a list box's, or a drop-down list's.
struct ListMessages {
    UINT reset, add;
};

}  // namespace

class TableWindow::Services final : public WindowServices {
public:
    explicit Services(TableWindow& window) : window_(window) {}

    void setText(std::size_t control, const std::string& text) override {
        const HWND shown = window_.control(control);
        window_.settingText_ = true;
        if (window_.table_[control].kind == ControlKind::ComboBox)
            ::SendMessageW(shown, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ::SetWindowTextW(shown, wideText(text).c_str());
        window_.settingText_ = false;
        if (window_.table_[control].align == TextAlign::FitText)
            window_.fitLabel(control);
    }

    void setLines(std::size_t control, const std::vector<std::string>& lines) override {
        const bool dropDown = window_.table_[control].kind == ControlKind::ComboBox;
        const ListMessages list = dropDown ? ListMessages{CB_RESETCONTENT, CB_ADDSTRING}
                                           : ListMessages{LB_RESETCONTENT, LB_ADDSTRING};
        const HWND shown = window_.control(control);
        ::SendMessageW(shown, list.reset, 0, 0);
        for (const std::string& line : lines)
            ::SendMessageW(shown, list.add, 0, reinterpret_cast<LPARAM>(wideText(line).c_str()));
        if (dropDown)
            setText(control, "");
    }

    void check(std::size_t control) override {
        const WindowTable& table = window_.table_;
        for (std::size_t row = 0; row < table.controls.size(); ++row) {
            if (table[row].kind == ControlKind::OptionButton &&
                table[row].parent == table[control].parent)
                ::SendMessageW(window_.control(row), BM_SETCHECK,
                               row == control ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }

    void setEnabled(std::size_t control, bool enabled) override {
        ::EnableWindow(window_.control(control), enabled ? TRUE : FALSE);
    }

    void showPicture(std::size_t control, int picture) override {
        window_.pictures_[control] = picture;
        const HWND shown = window_.control(control);
        RECT box{};
        ::GetClientRect(shown, &box);
        // A bitmap fills the picture, whatever its own size.
        auto bitmap = static_cast<HBITMAP>(::LoadImageW(
            window_.instance_, MAKEINTRESOURCEW(picture), IMAGE_BITMAP, box.right, box.bottom, 0));
        if (bitmap == nullptr)
            bitmap = blankPicture(box.right, box.bottom);
        if (const auto before = reinterpret_cast<HBITMAP>(::SendMessageW(
                shown, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap))))
            ::DeleteObject(before);
    }

    void showImage(std::size_t control, const FlagPicture& image) override {
        window_.images_[control] = image;
        const HWND shown = window_.control(control);
        RECT box{};
        ::GetClientRect(shown, &box);
        const bool button = window_.table_[control].kind == ControlKind::Button;
        HBITMAP bitmap = nullptr;
        if (button && !image.pixels.empty()) {
            // Only the picture on the button, at the window's scaling.
            ::SetWindowLongPtrW(shown, GWL_STYLE,
                                ::GetWindowLongPtrW(shown, GWL_STYLE) | BS_BITMAP);
            bitmap = drawnPicture(image, window_.pixels(image.width * 15),
                                  window_.pixels(image.height * 15), window_.dpi_);
        } else if (!button) {
            bitmap = drawnPicture(image, box.right, box.bottom, window_.dpi_);
        }
        const UINT set = button ? BM_SETIMAGE : STM_SETIMAGE;
        if (const auto before = reinterpret_cast<HBITMAP>(
                ::SendMessageW(shown, set, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap))))
            ::DeleteObject(before);
        ::InvalidateRect(shown, nullptr, TRUE);
    }

    void setChecked(std::size_t control, bool checked) override {
        ::SendMessageW(window_.control(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED,
                       0);
    }

    void setToolTip(std::size_t control, const std::string& text) override {
        if (window_.tips_ == nullptr) {
            window_.tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0,
                                              window_.window_, nullptr, window_.instance_, nullptr);
            // Lines break where the text says, within 400 pixels.
            ::SendMessageW(window_.tips_, TTM_SETMAXTIPWIDTH, 0, window_.pixels(400 * 15));
        }
        std::wstring wide = wideText(text);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_.window_;
        tool.uId = reinterpret_cast<UINT_PTR>(window_.control(control));
        tool.lpszText = wide.data();
        ::SendMessageW(window_.tips_, window_.tipped_[control] ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW,
                       0, reinterpret_cast<LPARAM>(&tool));
        window_.tipped_[control] = true;
    }

    std::optional<Rgb8> askColour(Rgb8 initial, const std::string& title) override {
        const std::optional<COLORREF> chosen =
            askColourBox(dialogOwner(), RGB(initial.red, initial.green, initial.blue),
                         wideText(title), window_.customColours_);
        if (!chosen)
            return std::nullopt;
        return Rgb8{GetRValue(*chosen), GetGValue(*chosen), GetBValue(*chosen)};
    }

    void present() override {
        const HWND window = window_.window_;
        if (!::IsWindowVisible(window)) {
            RECT frame{0, 0, window_.pixels(window_.table_.width),
                       window_.pixels(window_.table_.height)};
            ::AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, 0, window_.dpi_);
            RECT owner{};
            ::GetWindowRect(window_.owner_ != nullptr ? window_.owner_ : window, &owner);
            MONITORINFO monitor{};
            monitor.cbSize = sizeof(monitor);
            ::GetMonitorInfoW(::MonitorFromRect(&owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
            const RECT& work = monitor.rcWork;
            const ScreenRect place = placeBeside(
                {owner.left, owner.top, owner.right - owner.left, owner.bottom - owner.top},
                frame.right - frame.left, frame.bottom - frame.top,
                {work.left, work.top, work.right - work.left, work.bottom - work.top});
            ::SetWindowPos(window, nullptr, place.left, place.top, place.width, place.height,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            ::ShowWindow(window, SW_SHOW);
            ::SetFocus(window_.control(window_.table_.focusOrder().front()));
        }
        ::SetForegroundWindow(window);
    }

    void showMessage(const std::string& text, MessageIcon icon) override {
        showMessageBox(dialogOwner(), text, icon);
    }

    bool askYesNo(const std::string& question) override {
        return askYesNoBox(dialogOwner(), question);
    }

    std::string askOpenFileName(const OpenDialogRequest& request) override {
        return utf8Text(askOpenFileBox(dialogOwner(), request));
    }

    std::string programFolder() const override { return utf8Text(workingFolder()); }

    void endProgram(int exitCode) override {
        ::ShowWindow(window_.window_, SW_HIDE);
        ::PostQuitMessage(exitCode);
    }

private:
    HWND dialogOwner() const {
        const HWND window = window_.window_;
        return window != nullptr && ::IsWindowVisible(window) ? window : nullptr;
    }

    TableWindow& window_;
};

std::unique_ptr<WindowServices> TableWindow::makeServices() {
    return std::make_unique<Services>(*this);
}

}  // namespace tavrel
