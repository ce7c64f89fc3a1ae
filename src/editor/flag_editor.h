// The window's operations: one public member per window event. Owns the open image and the
// editor's state, which is all the main window shows of it; reaches the window only through
// WindowServices and hears from it through WindowEvents, so everything here runs without a
// user interface.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "catalog/catalog.h"
#include "editor/pairing_list.h"
#include "editor/window_services.h"
#include "game/game_image.h"
#include "journal/image_session.h"

namespace tavrel {

class FlagWindowEditor;

// Runs `operation`; a file failure, the lack of an image or a fault of the program ends it
// there and is reported in a box of `window`. No exception leaves it.
void runGuarded(WindowServices& window, const std::function<void()>& operation);

struct EditorState {
    int catalogId = kFirstCatalogId;  // the design shown
    std::optional<NetPattern> nets;   // the pattern of the net option checked last
    // The team chosen in the team list; -1 for none, also once the list's text no longer
    // reads the team's label (a save must never go to a team nobody chose).
    int team = -1;
    // The name box's text: the chosen team's name as the image stores it, or what the user
    // typed over it. Export names its file after it.
    std::string name;
    PairingList pairings;
    std::string lastFile;  // the file chosen last in an open dialog
};

class FlagEditor final : public WindowEvents {
public:
    using Operation = void (FlagEditor::*)();

    explicit FlagEditor(WindowServices& window);
    ~FlagEditor() override;

    // Runs before the window is shown: opens `imageName` (the program's argument) or, when none
    // is given, the image chosen in the dialog. Returns the exit status when the program must
    // end instead (0 when the user cancelled the image dialog, 1 when access was refused).
    std::optional<int> startUp(const std::string& imageName = {});

    // The main window's events (main_window_table.h), each to its operation below.
    void clicked(std::size_t control) override;
    void chosen(std::size_t control, int item) override;
    void edited(std::size_t control, const std::string& text) override;
    void closed() override { run(&FlagEditor::onClose); }
    void doubleClicked(std::size_t control) override;
    void arrowKey(std::size_t control, int step) override;
    void commanded(std::size_t command) override;

    // The flag window ("Bandiera della squadra"), made by `make` when it is first opened
    // (start-up does not wait for it): `make` makes the window, has it report its events to
    // the flag window's editor it is given, which follows this one's team and writes through
    // it, and returns the window's services. Once attached, the preview's tooltip says how to
    // open it.
    using FlagWindowMaker = std::function<WindowServices&(WindowEvents& events)>;
    void attachFlagWindow(FlagWindowMaker make);

    void onOpenImage();           // "Apri Image CD"
    void onClose();               // the window is closed
    void onTeamChosen(int team);  // a team chosen in the team list
    void onBack();                // "<---"
    void onNext();                // "--->"
    void onSave();                // "Salva"
    void onClear();               // "Clear"
    void onImport();              // "Import"
    void onExport();              // "Export"
    void onPlainNetsChosen();     // option "Normali"
    void onDiamondNetsChosen();   // option "Rombi"
    void onApplyNets();           // "Modifica"
    void onUndo();                // Ctrl+Z: takes back the image's last change, once confirmed
    void onOpenFlagWindow();      // its command, or a double click on the preview
    // A file dropped on the window: a patch is applied to the open image once confirmed, any
    // other file opened as "Apri Image CD" opens the one chosen.
    void onDrop(const std::string& path);

    // Runs the operation of one window event, or nothing once the program is ending. No
    // exception leaves it, as none may leave a window's event handler: what escapes the
    // operation is reported in a box like a failure inside one, a fault of the program as an
    // internal error.
    void run(Operation operation);
    // The status the program ends with, once an operation has ended it.
    std::optional<int> endStatus() const { return endStatus_; }

    const EditorState& state() const { return state_; }
    bool hasImage() const { return image_ != nullptr; }

private:
    friend class FlagWindowEditor;

    // Runs one operation; a file failure, or the lack of an image, ends it there and is
    // reported in a box.
    void guarded(const std::function<void()>& operation);
    GameImage& game();

    // Opens `path` in place of the current image: true when the program may go on. Refused
    // access shows its message; any other failure leaves the editor without an image. A save
    // cut short earlier is completed (or refused) and the user told once.
    bool openImage(const std::string& path);
    // "Apri Image CD" with `path` chosen: opened, the window cleared, or the program ended.
    void openChosen(const std::string& path);
    void applyPatchFile(const std::string& path);
    // Returns once the user may write into the open image: it passes the game check, or the
    // user said to write anyway (asked until they do, once per opened image). Otherwise the
    // operation ends there, nothing written.
    void confirmWrites();
    void tellRecovery(const ImageSession& image);
    std::string askFile(OpenDialogRequest request);
    OpenDialogRequest imageDialog() const;
    void showDesign();
    void showPreviewTip();
    void showName(const std::string& name);
    void probeNets();

    // The chosen team, or -1 after telling the user that nothing happens without one.
    int chosenTeamOrRefuse(const char* refusal) const;
    // Writes a planned edit named `description`: the number of its record in the image's log,
    // none where it was not logged (it changed no byte, or the log cannot be written).
    std::optional<std::uint64_t> write(ImageEdit edit, std::string description);

    WindowServices& window_;
    EditorState state_;
    std::unique_ptr<ImageSession> image_;
    std::optional<GameImage> game_;
    bool writesConfirmed_ = false;  // for the image open
    std::optional<int> endStatus_;
    FlagWindowMaker makeFlagWindow_;
    std::unique_ptr<FlagWindowEditor> flagWindow_;  // once first opened
};

}  // namespace tavrel
