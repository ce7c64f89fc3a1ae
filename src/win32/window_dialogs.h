// The system's modal boxes and open dialog as the editor asks for them, and the program's folder.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "editor/window_services.h"

namespace tavrel {

// One OK button under the title "Tavrel".
void showMessageBox(HWND owner, const std::string& text, MessageIcon icon);

// Yes ("Sì") and No under the title "Tavrel", No the default; true for Yes.
bool askYesNoBox(HWND owner, const std::string& question);

// The system's open dialog for an existing file, its name field preset. The chosen path,
// empty when cancelled.
std::wstring askOpenFileBox(HWND owner, const OpenDialogRequest& request);

// The system's colour chooser under `title`, opened wide (with its Red, Green and Blue
// fields) at `initial`; `custom` holds its custom colours from one call to the next. The
// colour chosen, none when cancelled.
std::optional<COLORREF> askColourBox(HWND owner, COLORREF initial, const std::wstring& title,
                                     std::array<COLORREF, 16>& custom);

// The executable's folder when it can be written (run from where it was unpacked), else
// Documents\Tavrel, made when missing (installed where only administrators may write).
std::wstring workingFolder();

}  // namespace tavrel
