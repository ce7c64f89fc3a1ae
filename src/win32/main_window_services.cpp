// MainWindow's side of WindowServices: the editor's reads and writes of the controls, and the
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

int MainWindow::selectedTeamIndex() const {
    return chosenTeam_;
}

std::string MainWindow::teamListText() const {
    return utf8Text(controlText(controlAt("teamList")));
}

void MainWindow::clearTeamListText() {
    const HWND list = control(controlAt("teamList"));
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SetWindowTextW(list, L"");
    chosenTeam_ = -1;
}

std::string MainWindow::nameBoxText() const {
    return utf8Text(controlText(controlAt("nameBox")));
}

void MainWindow::setNameBoxText(const std::string& text) {
    ::SetWindowTextW(control(controlAt("nameBox")), wideText(text).c_str());
}

void MainWindow::enableSave() {
    ::EnableWindow(control(controlAt("saveButton")), TRUE);
}

std::string MainWindow::positionLabel() const {
    return utf8Text(controlText(controlAt("positionLabel")));
}

void MainWindow::setPositionLabel(const std::string& text) {
    const HWND label = control(controlAt("positionLabel"));
    const std::wstring shown = wideText(text);
    ::SetWindowTextW(label, shown.c_str());
    // Sized to its text from a fixed left edge; one pixel beyond the advance, as "1" had.
    const SIZE size = textSize(label, shown);
    RECT place{};
    ::GetWindowRect(label, &place);
    ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    ::MoveWindow(label, place.left, place.top, size.cx + 1, place.bottom - place.top, TRUE);
}

void MainWindow::showPreview(int catalogId) {
    previewId_ = catalogId;
    const HWND picture = control(controlAt("preview"));
    RECT box{};
    ::GetClientRect(picture, &box);
    // A design's bitmap fills the picture, whatever its own size.
    auto bitmap = static_cast<HBITMAP>(::LoadImageW(instance_, MAKEINTRESOURCEW(catalogId),
                                                    IMAGE_BITMAP, box.right, box.bottom, 0));
    if (bitmap == nullptr)
        bitmap = blankPicture(box.right, box.bottom);
    if (const auto before = reinterpret_cast<HBITMAP>(
            ::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap))))
        ::DeleteObject(before);
}

int MainWindow::pairingCount() const {
    return static_cast<int>(::SendMessageW(control(controlAt("pairingList")), LB_GETCOUNT, 0, 0));
}

std::string MainWindow::pairingLine(int index) const {
    const HWND list = control(controlAt("pairingList"));
    const auto length = ::SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::wstring line(static_cast<std::size_t>(length), L'\0');
    ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
    return utf8Text(line);
}

void MainWindow::removePairingLine(int index) {
    ::SendMessageW(control(controlAt("pairingList")), LB_DELETESTRING, index, 0);
}

void MainWindow::addPairingLine(const std::string& line) {
    ::SendMessageW(control(controlAt("pairingList")), LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(wideText(line).c_str()));
}

void MainWindow::clearPairingList() {
    ::SendMessageW(control(controlAt("pairingList")), LB_RESETCONTENT, 0, 0);
}

void MainWindow::checkNetOption(NetPattern pattern) {
    const bool plain = pattern == NetPattern::Plain;
    ::SendMessageW(control(controlAt("plainNetsOption")), BM_SETCHECK,
                   plain ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(control(controlAt("diamondNetsOption")), BM_SETCHECK,
                   plain ? BST_UNCHECKED : BST_CHECKED, 0);
}

void MainWindow::showMessage(const std::string& text, MessageIcon icon) {
    showMessageBox(dialogOwner(), text, icon);
}

bool MainWindow::askYesNo(const std::string& question) {
    return askYesNoBox(dialogOwner(), question);
}

std::string MainWindow::askOpenFileName(const OpenDialogRequest& request) {
    const std::wstring chosen =
        askOpenFileBox(dialogOwner(), request, request.clearFileName ? L"" : lastFileName_);
    if (!chosen.empty())
        lastFileName_ = chosen;
    return utf8Text(chosen);
}

std::string MainWindow::programFolder() const {
    return utf8Text(workingFolder());
}

void MainWindow::endProgram(int exitCode) {
    ::ShowWindow(window_, SW_HIDE);
    ::PostQuitMessage(exitCode);
}

}  // namespace tavrel
