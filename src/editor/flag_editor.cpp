// Start-up, opening and closing the image, catalog browsing, Clear and the goal nets.
#include "editor/flag_editor.h"

#include "catalog/catalog.h"
#include "catalog/catalog_browse.h"
#include "editor/messages.h"
#include "image/image_error.h"
#include "layout/game_layout.h"

namespace tavrel {

void FlagEditor::guarded(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const IoError& error) {
        window_.showMessage(error.what(), MessageIcon::Critical);
    }
}

OpenDialogRequest FlagEditor::imageDialog(bool clearFileName) const {
    return {{{"Image CDRWIN (*.bin)", "*.bin"},
             {" Image CloneCD (*.img)", "*.img"},
             {" All Files (*.*)", "*.*"}},
            window_.programFolder(),
            clearFileName};
}

std::optional<int> FlagEditor::startUp() {
    const std::string path = window_.askOpenFileName(imageDialog(false));
    if (path.empty())
        return 0;
    if (!openImage(path))
        return 1;
    // The catalog is reset even when the image could not be opened: the window must show a
    // valid design either way.
    resetCatalog();
    if (image_.isOpen())
        netProbe();
    return std::nullopt;
}

void FlagEditor::onOpenImage() {
    const std::string path = window_.askOpenFileName(imageDialog(true));
    if (path.empty())
        return;
    image_.close();
    if (!openImage(path)) {
        window_.endProgram(1);
        return;
    }
    if (!image_.isOpen())
        return;
    onClear();
    resetCatalog();
    netProbe();
}

bool FlagEditor::openImage(const std::string& path) {
    try {
        image_.open(path);
    } catch (const AccessRefused&) {
        window_.showMessage(text::kAccessRefused, MessageIcon::Critical);
        return false;
    } catch (const IoError&) {
        // Any other failure leaves the editor without an image, silently; every operation that
        // needs the image then says so.
    }
    return true;
}

void FlagEditor::onClose() {
    image_.close();
}

void FlagEditor::resetCatalog() {
    resetToFirst(state_.catalogId, state_.catalogPosition);
    window_.showPreview(state_.catalogId);
}

void FlagEditor::showCatalogDesign() {
    window_.showPreview(state_.catalogId);
    window_.setPositionLabel(positionText(state_.catalogPosition));
}

void FlagEditor::onNext() {
    stepForward(state_.catalogId, state_.catalogPosition);
    showCatalogDesign();
}

void FlagEditor::onBack() {
    stepBack(state_.catalogId, state_.catalogPosition);
    showCatalogDesign();
}

void FlagEditor::onClear() {
    window_.clearPairingList();
    window_.clearTeamListText();
    window_.setNameBoxText("");
    resetToFirst(state_.catalogId, state_.catalogPosition);
    window_.setPositionLabel("1");
    window_.showPreview(state_.catalogId);
}

// The stored net bytes select the matching option; an unknown value, or an image too short to
// hold them, leaves the options as they are.
void FlagEditor::netProbe() {
    std::string stored;
    try {
        stored = toByteText(image_.read(kNetBytesOffset + 1, kNetBytesLength));
    } catch (const IoError&) {
        return;
    }
    if (stored == "00 65 ") {
        window_.checkNetOption(NetOption::Normali);
        onNormSelected();
    } else if (stored == "28 61 ") {
        window_.checkNetOption(NetOption::Rombi);
        onRombiSelected();
    }
}

void FlagEditor::onNormSelected() {
    state_.netPattern = "00 65";
}

void FlagEditor::onRombiSelected() {
    state_.netPattern = "28 61";
}

void FlagEditor::onModifica() {
    guarded([&] {
        const Bytes bytes = fromByteText(state_.netPattern);
        if (!bytes.empty()) {
            image_.write(kNetBytesOffset + 1, bytes);
            image_.sync();
        }
        window_.showMessage(text::kNetSaved, MessageIcon::Information);
    });
}

}  // namespace tavrel
