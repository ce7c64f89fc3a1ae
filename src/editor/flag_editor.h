// frmFlag's operations: one public member per window event, and the shared procedures of the
// window underneath. Owns the editor state and the one open image; reaches the window only
// through WindowServices, so everything here runs without a user interface.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor_state.h"
#include "editor/window_services.h"
#include "image/image_file.h"
#include "image/raw_geometry.h"

namespace tavrel {

class FlagEditor {
public:
    explicit FlagEditor(WindowServices& window) : window_(window) {}

    // Runs before the window is shown. Returns the exit status when the program must end
    // instead (0 when the user cancelled the image dialog, 1 when access was refused).
    std::optional<int> startUp();

    // Window events.
    void onOpenImage();      // "Apri Image CD"
    void onClose();          // the window is closed
    void onTeamChosen();     // a team chosen in cboSeqSQ
    void onBack();           // "<---"
    void onNext();           // "--->"
    void onSalva();          // "Salva"
    void onClear();          // "Clear"
    void onImport();         // "Import"
    void onExport();         // "Export"
    void onNormSelected();   // option "Normali"
    void onRombiSelected();  // option "Rombi"
    void onModifica();       // "Modifica"

    const EditorState& state() const { return state_; }

private:
    // Runs one operation; an image or file failure ends it there and is reported in a box.
    void guarded(const std::function<void()>& operation);

    // Opening an image, shared by start-up and reopening: true when the sequence may go on.
    // Refused access shows its message and ends the program.
    bool openImage(const std::string& path);
    OpenDialogRequest imageDialog(bool clearFileName) const;
    void resetCatalog();
    void showCatalogDesign();
    void netProbe();

    // Team selection.
    void decodeNamePiece(const Bytes& piece);
    void Hex_Let();

    // Flag write and current flag.
    int selectedTeamOrRefuse() const;  // -1 after telling the user why nothing happens
    std::vector<ByteRun> palettePlaces() const;
    void requireFlagWritePlaces(int team) const;
    bool WriteFlags(const std::string& record);
    void INS_TIPO();
    void ReadFlags();

    WindowServices& window_;
    EditorState state_;
    ImageFile image_;
};

}  // namespace tavrel
