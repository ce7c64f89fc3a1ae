// Start-up, opening and closing the image, choosing a team, catalog browsing, Clear and the
// goal nets.
#include "editor/flag_editor.h"

#include "editor/messages.h"
#include "image/file_error.h"

namespace tavrel {
namespace {

struct NoImageOpen {};

}  // namespace

void FlagEditor::guarded(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const NoImageOpen&) {
        window_.showMessage(text::kNoImage, MessageIcon::Critical);
    } catch (const FileError& error) {
        window_.showMessage(text::describe(error), MessageIcon::Critical);
    } catch (const std::exception&) {
        // A fault of the program, not of the image: never the program's English inside words.
        window_.showMessage(text::kInternalError, MessageIcon::Critical);
    }
}

void FlagEditor::run(Operation operation) {
    if (!endStatus_)
        guarded([&] { (this->*operation)(); });
}

GameImage& FlagEditor::game() {
    if (!game_)
        throw NoImageOpen{};
    return *game_;
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
    // The design is reset even when the image could not be opened: the window must show a
    // valid design either way.
    state_.catalogId = kFirstCatalogId;
    window_.showPreview(state_.catalogId);
    probeNets();
    return std::nullopt;
}

void FlagEditor::onOpenImage() {
    const std::string path = window_.askOpenFileName(imageDialog(true));
    if (path.empty())
        return;
    if (!openImage(path)) {
        endStatus_ = 1;
        window_.endProgram(1);
        return;
    }
    if (!hasImage())
        return;
    onClear();
    probeNets();
}

bool FlagEditor::openImage(const std::string& path) {
    game_.reset();
    image_.reset();  // closes the image and drops its lock before the next one is opened
    try {
        image_ = std::make_unique<ImageSession>(path);
        game_.emplace(*image_);
        tellRecovery(*image_);
    } catch (const FileError& error) {
        if (error.failure == FileFailure::Held || error.failure == FileFailure::AccessRefused) {
            window_.showMessage(text::kAccessRefused, MessageIcon::Critical);
            return false;
        }
        // Any other failure leaves the editor without an image, silently; every operation that
        // needs the image then says so.
    }
    return true;
}

void FlagEditor::tellRecovery(const ImageSession& image) {
    const Recovery& recovery = image.recovery();
    using Problem = Recovery::LogProblem;
    // A log set aside because it no longer fits the image needs nothing of the user.
    if (recovery.problem != Problem::None && recovery.problem != Problem::Stale) {
        if (recovery.keptAs.empty() && image.logFailure())
            window_.showMessage(
                text::logNotKept(image.logPath(), text::describe(*image.logFailure())),
                MessageIcon::Critical);
        else if (recovery.problem == Problem::Damaged)
            window_.showMessage(text::logDamaged(recovery.keptAs), MessageIcon::Information);
        else
            window_.showMessage(text::logNotOurs(recovery.problem == Problem::Newer,
                                                 image.logPath(), recovery.keptAs),
                                MessageIcon::Information);
    }
    if (recovery.interrupted == Recovery::Interrupted::Completed)
        window_.showMessage(text::saveCompleted(recovery.description), MessageIcon::Information);
    if (recovery.interrupted == Recovery::Interrupted::Refused)
        window_.showMessage(text::saveNotCompleted(recovery.description, recovery.keptAs),
                            MessageIcon::Critical);
}

void FlagEditor::onClose() {
    game_.reset();
    image_.reset();
}

void FlagEditor::onTeamChosen() {
    guarded([&] {
        window_.enableSave();
        window_.setNameBoxText("");
        const int team = window_.selectedTeamIndex();
        if (isTeam(team))
            window_.setNameBoxText(game().teamName(team));
    });
}

void FlagEditor::showDesign() {
    window_.showPreview(state_.catalogId);
    window_.setPositionLabel(std::to_string(catalogPosition(state_.catalogId)));
}

void FlagEditor::onNext() {
    state_.catalogId = nextCatalogId(state_.catalogId);
    showDesign();
}

void FlagEditor::onBack() {
    state_.catalogId = previousCatalogId(state_.catalogId);
    showDesign();
}

void FlagEditor::onClear() {
    window_.clearPairingList();
    window_.clearTeamListText();
    window_.setNameBoxText("");
    state_.catalogId = kFirstCatalogId;
    showDesign();
}

// The stored net bytes check the matching option; an unknown value, or an image too short to
// hold them, leaves the options as they are.
void FlagEditor::probeNets() {
    if (!game_)
        return;
    std::optional<NetPattern> stored;
    try {
        stored = game_->nets();
    } catch (const FileError&) {
        return;
    }
    if (stored) {
        window_.checkNetOption(*stored);
        state_.nets = stored;
    }
}

void FlagEditor::onPlainNetsChosen() {
    state_.nets = NetPattern::Plain;
}

void FlagEditor::onDiamondNetsChosen() {
    state_.nets = NetPattern::Diamond;
}

void FlagEditor::onApplyNets() {
    guarded([&] {
        // With no option checked there is nothing to write; the confirmation shows all the
        // same, so that every press of the button is answered.
        if (state_.nets) {
            ImageEdit edit = game().planNets(*state_.nets);
            edit.description = *state_.nets == NetPattern::Plain ? "Reti: Normali" : "Reti: Rombi";
            game().apply(edit);
        }
        window_.showMessage(text::kNetSaved, MessageIcon::Information);
    });
}

void FlagEditor::onUndo() {
    guarded([&] {
        game();  // says when no image is open
        const std::vector<ChangeRecord> undoable = image_->undoable();
        if (undoable.empty()) {
            window_.showMessage(
                image_->undoStopsAtGap() ? text::kUndoStopsAtGap : text::kNothingToUndo,
                MessageIcon::Information);
            return;
        }
        const ChangeRecord& last = undoable.front();
        if (!window_.askYesNo(text::undoQuestion(last.description, last.time)))
            return;
        image_->undo(1, text::kUndoPrefix + last.description);
        probeNets();
        window_.showMessage(text::kUndoDone + last.description, MessageIcon::Information);
    });
}

}  // namespace tavrel
