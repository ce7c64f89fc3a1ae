// Files dropped on the window: a patch applied to the open image as apply-patch applies it,
// once the user has seen what it changes; any other file opened as the image.
#include "editor/flag_editor.h"
#include "editor/flag_window_editor.h"
#include "editor/main_window_table.h"
#include "editor/messages.h"
#include "game/change_names.h"
#include "game/patch_file.h"
#include "image/whole_files.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace tavrel {
namespace {

// A patch is known by its first bytes, whatever its name.
bool isPatch(const std::string& path) {
    try {
        return recognisePatch(readFileStart(path, 8, FileRole::Patch)) != PatchFormat::Unknown;
    } catch (const FileError&) {
        return false;  // opened as an image, which says what is wrong with it
    }
}

}  // namespace

void FlagEditor::onDrop(const std::string& path) {
    guarded([&] {
        // A folder dropped by mistake must not close the image open.
        if (sys::PathInfo info; sys::inspect(path, info).ok() && info.kind != sys::PathKind::File)
            throw FileError(FileFailure::NotAFile, FileRole::Image, path);
        if (isPatch(path))
            return applyPatchFile(path);
        state_.lastFile = path;
        openChosen(path);
    });
    if (flagWindow_ && !endStatus_)
        flagWindow_->follow();  // the image or its flag may be another now
}

void FlagEditor::applyPatchFile(const std::string& path) {
    game();  // says when no image is open
    const PatchFile patch = PatchFile::read(path);
    const std::string name = fileNameOf(path);
    if (!patch.usable())
        return window_.showMessage(text::patchUnreadable(name, patch.tooLarge(), patch.fault()),
                                   MessageIcon::Critical);
    PatchPlan plan = patch.plan(*image_);
    if (!plan.applicable() || !plan.asExpected())
        return window_.showMessage(text::patchRefused(name, plan, image_->file().size()),
                                   MessageIcon::Critical);
    if (plan.edit.changes.empty())
        return window_.showMessage(text::patchAlreadyIn(name), MessageIcon::Information);
    if (!window_.askYesNo(text::patchQuestion(name, plan.places)))
        return;
    confirmWrites();
    plan.edit.description = change_name::patch(path);
    game().apply(plan.edit);
    probeNets();
    if (isTeam(state_.team))
        showName(game().teamName(state_.team));
    window_.showMessage(text::patchApplied(name), MessageIcon::Information);
}

}  // namespace tavrel
