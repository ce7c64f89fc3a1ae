// Message boxes, the Yes/No question in Italian, the open dialog, and the folder they start in.
#include "window_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include "editor/messages.h"
#include "wide_text.h"

namespace tavrel {
namespace {

// The system words a message box's buttons in its own language; the window speaks Italian
// whatever the system's language. The box is the thread's only window activated while the hook
// is set. The "&" keeps the key that answers Yes, as the system's own "&Yes" has.
LRESULT CALLBACK sayYesInItalian(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE)
        ::SetDlgItemTextW(reinterpret_cast<HWND>(wParam), IDYES, L"&S\u00ec");
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Description and pattern, each ended by a NUL, and one more NUL after the last.
std::wstring filterList(const std::vector<FileFilter>& filters) {
    std::wstring list;
    for (const FileFilter& filter : filters) {
        list += wideText(filter.description) + L'\0';
        list += wideText(filter.pattern) + L'\0';
    }
    return list + L'\0';
}

bool canWrite(const std::wstring& folder) {
    wchar_t probe[MAX_PATH];
    if (::GetTempFileNameW(folder.c_str(), L"tav", 0, probe) == 0)
        return false;
    ::DeleteFileW(probe);
    return true;
}

std::wstring documentsFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &path)))
        folder = path;
    ::CoTaskMemFree(path);
    return folder;
}

// The chooser's caption, in the program's words rather than the system's.
UINT_PTR CALLBACK nameColourChooser(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* setup = reinterpret_cast<const CHOOSECOLORW*>(lParam);
        ::SetWindowTextW(dialog, reinterpret_cast<const wchar_t*>(setup->lCustData));
    }
    return 0;
}

}  // namespace

std::optional<COLORREF> askColourBox(HWND owner, COLORREF initial, const std::wstring& title,
                                     std::array<COLORREF, 16>& custom) {
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.rgbResult = initial;
    dialog.lpCustColors = custom.data();
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR | CC_ENABLEHOOK;
    dialog.lCustData = reinterpret_cast<LPARAM>(title.c_str());
    dialog.lpfnHook = nameColourChooser;
    if (!::ChooseColorW(&dialog))
        return std::nullopt;
    return dialog.rgbResult;
}

void showMessageBox(HWND owner, const std::string& text, MessageIcon icon) {
    const UINT iconStyle = icon == MessageIcon::Critical ? MB_ICONERROR : MB_ICONINFORMATION;
    ::MessageBoxW(owner, wideText(text).c_str(), wideText(text::kTitle).c_str(), MB_OK | iconStyle);
}

bool askYesNoBox(HWND owner, const std::string& question) {
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, sayYesInItalian, nullptr, ::GetCurrentThreadId());
    const int answer =
        ::MessageBoxW(owner, wideText(question).c_str(), wideText(text::kTitle).c_str(),
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (hook != nullptr)
        ::UnhookWindowsHookEx(hook);
    return answer == IDYES;
}

std::wstring askOpenFileBox(HWND owner, const OpenDialogRequest& request) {
    const std::wstring filters = filterList(request.filters);
    const std::wstring folder = wideText(request.initialFolder);
    const std::wstring preset = wideText(request.fileName);
    // Long paths are allowed: the buffer holds the longest the system accepts.
    std::wstring name(32768, L'\0');
    name.replace(0, preset.size(), preset);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrInitialDir = folder.c_str();
    // A mistyped name is caught in the dialog rather than leaving the editor without an image;
    // the process's current folder stays where it was.
    dialog.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&dialog))
        return {};
    return name.c_str();
}

std::wstring workingFolder() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    std::wstring folder = path.substr(0, path.find_last_of(L"\\/"));
    if (canWrite(folder))
        return folder;
    folder = documentsFolder() + L"\\Tavrel";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

}  // namespace tavrel
