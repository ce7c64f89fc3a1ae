// MainWindow as its editor sees it: the editor's reads and writes of the controls, and the
// dialogs it asks for.
#include "main_window.h"
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

}  // namespace

class MainWindow::Services final : public WindowServices {
public:
    explicit Services(MainWindow& main) : main_(main) {}

    int selectedTeamIndex() const override { return main_.chosenTeam_; }

    std::string teamListText() const override {
        return utf8Text(main_.controlText(controlAt("teamList")));
    }

    void clearTeamListText() override {
        const HWND list = main_.control(controlAt("teamList"));
        ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ::SetWindowTextW(list, L"");
        main_.chosenTeam_ = -1;
    }

    std::string nameBoxText() const override {
        return utf8Text(main_.controlText(controlAt("nameBox")));
    }

    void setNameBoxText(const std::string& text) override {
        ::SetWindowTextW(main_.control(controlAt("nameBox")), wideText(text).c_str());
    }

    void enableSave() override { ::EnableWindow(main_.control(controlAt("saveButton")), TRUE); }

    std::string positionLabel() const override {
        return utf8Text(main_.controlText(controlAt("positionLabel")));
    }

    void setPositionLabel(const std::string& text) override {
        const HWND label = main_.control(controlAt("positionLabel"));
        const std::wstring shown = wideText(text);
        ::SetWindowTextW(label, shown.c_str());
        // Sized to its text from a fixed left edge; one pixel beyond the advance, as "1" had.
        const SIZE size = textSize(label, shown);
        RECT place{};
        ::GetWindowRect(label, &place);
        ::MapWindowPoints(nullptr, main_.window_, reinterpret_cast<POINT*>(&place), 2);
        ::MoveWindow(label, place.left, place.top, size.cx + 1, place.bottom - place.top, TRUE);
    }

    void showPreview(int catalogId) override {
        main_.previewId_ = catalogId;
        const HWND picture = main_.control(controlAt("preview"));
        RECT box{};
        ::GetClientRect(picture, &box);
        // A design's bitmap fills the picture, whatever its own size.
        auto bitmap = static_cast<HBITMAP>(::LoadImageW(
            main_.instance_, MAKEINTRESOURCEW(catalogId), IMAGE_BITMAP, box.right, box.bottom, 0));
        if (bitmap == nullptr)
            bitmap = blankPicture(box.right, box.bottom);
        if (const auto before = reinterpret_cast<HBITMAP>(::SendMessageW(
                picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap))))
            ::DeleteObject(before);
    }

    int pairingCount() const override {
        return static_cast<int>(::SendMessageW(pairingList(), LB_GETCOUNT, 0, 0));
    }

    std::string pairingLine(int index) const override {
        const auto length = ::SendMessageW(pairingList(), LB_GETTEXTLEN, index, 0);
        if (length == LB_ERR)
            return {};
        std::wstring line(static_cast<std::size_t>(length), L'\0');
        ::SendMessageW(pairingList(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
        return utf8Text(line);
    }

    void removePairingLine(int index) override {
        ::SendMessageW(pairingList(), LB_DELETESTRING, index, 0);
    }

    void addPairingLine(const std::string& line) override {
        ::SendMessageW(pairingList(), LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(wideText(line).c_str()));
    }

    void clearPairingList() override { ::SendMessageW(pairingList(), LB_RESETCONTENT, 0, 0); }

    void checkNetOption(NetPattern pattern) override {
        const bool plain = pattern == NetPattern::Plain;
        ::SendMessageW(main_.control(controlAt("plainNetsOption")), BM_SETCHECK,
                       plain ? BST_CHECKED : BST_UNCHECKED, 0);
        ::SendMessageW(main_.control(controlAt("diamondNetsOption")), BM_SETCHECK,
                       plain ? BST_UNCHECKED : BST_CHECKED, 0);
    }

    void showMessage(const std::string& text, MessageIcon icon) override {
        showMessageBox(dialogOwner(), text, icon);
    }

    bool askYesNo(const std::string& question) override {
        return askYesNoBox(dialogOwner(), question);
    }

    std::string askOpenFileName(const OpenDialogRequest& request) override {
        const std::wstring suggested =
            wideText(request.initialFolder + "\\" + request.suggestedName);
        const DWORD attributes = ::GetFileAttributesW(suggested.c_str());
        const bool suggestable = !request.suggestedName.empty() &&
                                 attributes != INVALID_FILE_ATTRIBUTES &&
                                 (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        const std::wstring preset = request.clearFileName    ? L""
                                    : !lastFileName_.empty() ? lastFileName_
                                    : suggestable            ? suggested
                                                             : L"";
        const std::wstring chosen = askOpenFileBox(dialogOwner(), request, preset);
        if (!chosen.empty())
            lastFileName_ = chosen;
        return utf8Text(chosen);
    }

    std::string programFolder() const override { return utf8Text(workingFolder()); }

    void endProgram(int exitCode) override {
        ::ShowWindow(main_.window_, SW_HIDE);
        ::PostQuitMessage(exitCode);
    }

private:
    HWND pairingList() const { return main_.control(controlAt("pairingList")); }

    HWND dialogOwner() const {
        const HWND window = main_.window_;
        return window != nullptr && ::IsWindowVisible(window) ? window : nullptr;
    }

    MainWindow& main_;
    std::wstring lastFileName_;
};

std::unique_ptr<WindowServices> MainWindow::makeServices() {
    return std::make_unique<Services>(*this);
}

}  // namespace tavrel
