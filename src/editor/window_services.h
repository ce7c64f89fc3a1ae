// Between a window made from a table (window_table.h) and its editor: what the editor may do
// to the window, and what the window tells the editor of the user's actions. Controls are
// named by their rows in the table. The window holds no state its editor reads back: it shows
// what it is told and reports what the user did. The Qt and Win32 windows implement both
// sides for any table; editor tests use a scripted fake. No user-interface type crosses here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "catalog/flag_picture.h"
#include "game/colour_word.h"

namespace tavrel {

enum class MessageIcon { Information, Critical };

struct FileFilter {
    std::string description;  // "Image CDRWIN (*.bin)"
    std::string pattern;      // "*.bin"
};

struct OpenDialogRequest {
    std::vector<FileFilter> filters;  // the first is selected when the dialog opens
    std::string initialFolder;
    std::string fileName;  // preset in the name field; empty for none
};

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // A control's text: a label's, a text box's, or a drop-down list's text field, where no
    // item is chosen any more.
    virtual void setText(std::size_t control, const std::string& text) = 0;
    // The lines of a list box, or the items of a drop-down list.
    virtual void setLines(std::size_t control, const std::vector<std::string>& lines) = 0;
    // Checks an option, clearing the other options of its frame; no event is reported.
    virtual void check(std::size_t control) = 0;
    virtual void setEnabled(std::size_t control, bool enabled) = 0;
    // A picture from the program's resources (a design's preview: its catalog id).
    virtual void showPicture(std::size_t control, int picture) = 0;
    // A picture the program drew, on a picture or a button, centred: its pixels are the
    // window's pixels at 96 dpi, each shown as a whole square at any scaling, never blurred.
    // Every pixel is opaque.
    virtual void showImage(std::size_t control, const FlagPicture& image) = 0;
    // Checks or clears a check box; no event is reported.
    virtual void setChecked(std::size_t control, bool checked) = 0;
    // The text shown while the pointer rests on the control.
    virtual void setToolTip(std::size_t control, const std::string& text) = 0;

    // A modal box with one OK button under the title "Tavrel"; returns when it is closed.
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    // A modal Yes/No question under the title "Tavrel"; true for Yes.
    virtual bool askYesNo(const std::string& question) = 0;
    // The modal file-open dialog; returns the chosen path, empty when cancelled.
    virtual std::string askOpenFileName(const OpenDialogRequest& request) = 0;
    // The system's modal colour chooser under `title`, starting at `initial`; the colour
    // chosen, none when cancelled.
    virtual std::optional<Rgb8> askColour(Rgb8 initial, const std::string& title) = 0;

    // Shows the window beside its owner the first time, or brings it to the front with the
    // keyboard; a window made hidden stays so until this is called.
    virtual void present() = 0;

    // Where file dialogs open and Export writes, without a trailing separator: the program's
    // own folder, or a folder of the user's when that cannot be written.
    virtual std::string programFolder() const = 0;

    // Ends the program with `exitCode`: the window hides, and its event loop ends once the
    // operation running returns. The editor runs no operation after this.
    virtual void endProgram(int exitCode) = 0;
};

// The user's actions on controls that report them (WindowControl::reports), as the window
// tells its editor. An option is checked by the click before it is reported.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;

    virtual void clicked(std::size_t control) = 0;
    virtual void chosen(std::size_t control, int item) = 0;
    virtual void edited(std::size_t control, const std::string& text) = 0;
    virtual void doubleClicked(std::size_t /*control*/) {}
    // Left (-1) or Right (+1) pressed while the control has the focus.
    virtual void arrowKey(std::size_t /*control*/, int /*step*/) {}
    // One of the table's commands (WindowTable::commands), by its place there.
    virtual void commanded(std::size_t /*command*/) {}
    // The window is closed; it goes once this returns.
    virtual void closed() = 0;
};

}  // namespace tavrel
