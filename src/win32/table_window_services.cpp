// TableWindow as its editor sees it: what the editor shows in the controls, and the dialogs it
// asks for.
#include "table_window.h"
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
