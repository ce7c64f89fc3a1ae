// The main window's ways to the flag window (its command's key and context menus, a double
// click on the preview, the preview's tooltip), and the arrow keys that step the catalog.
#include "editor/flag_editor.h"
#include "editor/flag_window_editor.h"
#include "editor/flag_window_texts.h"
#include "editor/main_window_table.h"

namespace tavrel {

void FlagEditor::attachFlagWindow(FlagWindowMaker make) {
    makeFlagWindow_ = std::move(make);
    showPreviewTip();
}

void FlagEditor::showPreviewTip() {
    if (makeFlagWindow_)
        window_.setToolTip(main_window::kPreview,
                           text::previewTip(state_.catalogId, main_window::kFlagWindowCommand));
}

void FlagEditor::onOpenFlagWindow() {
    if (!flagWindow_ && makeFlagWindow_)
        flagWindow_ = std::make_unique<FlagWindowEditor>(*this, makeFlagWindow_);
    if (flagWindow_)
        flagWindow_->open();
}

void FlagEditor::doubleClicked(std::size_t control) {
    if (control == main_window::kPreview)
        run(&FlagEditor::onOpenFlagWindow);
}

// Only the preview and the arrow buttons report the arrow keys (main_window_table.h).
void FlagEditor::arrowKey(std::size_t, int step) {
    run(step < 0 ? &FlagEditor::onBack : &FlagEditor::onNext);
}

void FlagEditor::commanded(std::size_t command) {
    if (&kMainWindow.commands[command] == &main_window::kFlagWindowCommand)
        run(&FlagEditor::onOpenFlagWindow);
}

}  // namespace tavrel
