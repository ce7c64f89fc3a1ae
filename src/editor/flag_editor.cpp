// Start-up, opening and closing the image, the window's events routed to their operations,
// choosing a team, catalog browsing, Clear, the goal nets and undo.
#include "editor/flag_editor.h"

#include <array>

#include "editor/flag_window_editor.h"
#include "editor/main_window_table.h"
#include "editor/messages.h"
#include "game/change_names.h"
#include "game/game_check.h"
#include "image/file_error.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace tavrel {
namespace {

using namespace main_window;

struct NoImageOpen {};
// The user said not to write into an image that does not look like the game: nothing more to say.
struct WriteDeclined {};

struct ClickOperation {
    std::size_t control;
    FlagEditor::Operation operation;
};

constexpr std::array kClickOperations{
    ClickOperation{kBackButton, &FlagEditor::onBack},
    ClickOperation{kNextButton, &FlagEditor::onNext},
    ClickOperation{kSaveButton, &FlagEditor::onSave},
    ClickOperation{kClearButton, &FlagEditor::onClear},
    ClickOperation{kImportButton, &FlagEditor::onImport},
    ClickOperation{kExportButton, &FlagEditor::onExport},
    ClickOperation{kOpenButton, &FlagEditor::onOpenImage},
    ClickOperation{kPlainNetsOption, &FlagEditor::onPlainNetsChosen},
    ClickOperation{kDiamondNetsOption, &FlagEditor::onDiamondNetsChosen},
    ClickOperation{kApplyNetsButton, &FlagEditor::onApplyNets},
};

// Every control whose clicks the window reports has its operation, and no other.
constexpr bool everyClickHasItsOperation() {
    for (std::size_t row = 0; row < kMainWindow.controls.size(); ++row) {
        std::size_t operations = 0;
        for (const ClickOperation& click : kClickOperations) operations += click.control == row;
        if (operations != (reports(kMainWindow[row].reports, Reports::Clicks) ? 1u : 0u))
            return false;
    }
    return true;
}
static_assert(everyClickHasItsOperation());

// The demo image the packages and run.sh put beside the program: the first image dialog offers
// it when it is there.
constexpr const char* kDemoImageName = "demo.bin";

}  // namespace

void runGuarded(WindowServices& window, const std::function<void()>& operation) {
    try {
        operation();
    } catch (const NoImageOpen&) {
        window.showMessage(text::kNoImage, MessageIcon::Critical);
    } catch (const WriteDeclined&) {
    } catch (const FileError& error) {
        window.showMessage(text::describe(error), MessageIcon::Critical);
    } catch (const std::exception&) {
        // A fault of the program, not of the image: never the program's English inside words.
        window.showMessage(text::kInternalError, MessageIcon::Critical);
    }
}

FlagEditor::FlagEditor(WindowServices& window) : window_(window) {}
FlagEditor::~FlagEditor() = default;

void FlagEditor::guarded(const std::function<void()>& operation) {
    runGuarded(window_, operation);
}

// The flag window follows whatever the operation changed: the team, the image, its flag.
void FlagEditor::run(Operation operation) {
    if (!endStatus_)
        guarded([&] { (this->*operation)(); });
    if (flagWindow_ && !endStatus_)
        flagWindow_->follow();
}

void FlagEditor::clicked(std::size_t control) {
    for (const ClickOperation& click : kClickOperations) {
        if (click.control == control)
            run(click.operation);
    }
}

void FlagEditor::chosen(std::size_t control, int item) {
    if (control == kTeamList && !endStatus_) {
        onTeamChosen(item);
        if (flagWindow_)
            flagWindow_->follow();
    }
}

void FlagEditor::edited(std::size_t control, const std::string& text) {
    // Typing into the team list chooses nothing: once its text no longer reads the chosen
    // team's label, no team is chosen.
    if (control == kTeamList && isTeam(state_.team) &&
        text != kTeams[static_cast<std::size_t>(state_.team)].label)
        state_.team = -1;
    if (control == kNameBox)
        state_.name = text;
    if (flagWindow_ && !endStatus_)
        flagWindow_->follow();
}

GameImage& FlagEditor::game() {
    if (!game_)
        throw NoImageOpen{};
    return *game_;
}

// The dialog starts with the name chosen last, or an empty one.
std::string FlagEditor::askFile(OpenDialogRequest request) {
    const std::string path = window_.askOpenFileName(request);
    if (!path.empty())
        state_.lastFile = path;
    return path;
}

OpenDialogRequest FlagEditor::imageDialog() const {
    return {{{"Image CDRWIN (*.bin)", "*.bin"},
             {" Foglio CUE (*.cue)", "*.cue"},
             {" Image CloneCD (*.img)", "*.img"},
             {" All Files (*.*)", "*.*"}},
            window_.programFolder(),
            ""};
}

std::optional<int> FlagEditor::startUp(const std::string& imageName) {
    std::vector<std::string> labels;
    for (const Team& team : kTeams) labels.emplace_back(team.label);
    window_.setLines(kTeamList, labels);
    // Saving waits for a team to be chosen; once one was, it stays possible.
    window_.setEnabled(kSaveButton, false);
    std::string path = imageName;
    if (path.empty()) {
        OpenDialogRequest request = imageDialog();
        const std::string demo = pathIn(request.initialFolder, kDemoImageName);
        if (sys::PathInfo info; sys::inspect(demo, info).ok() && info.kind == sys::PathKind::File)
            request.fileName = demo;
        path = askFile(request);
    }
    if (path.empty())
        return 0;
    if (!openImage(path))
        return 1;
    // The design is reset even when the image could not be opened: the window must show a
    // valid design either way.
    state_.catalogId = kFirstCatalogId;
    window_.showPicture(kPreview, state_.catalogId);
    probeNets();
    return endStatus_;  // set when something on the way ended the program
}

void FlagEditor::onOpenImage() {
    const std::string path = askFile(imageDialog());
    if (!path.empty())
        openChosen(path);
}

void FlagEditor::openChosen(const std::string& path) {
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
    writesConfirmed_ = false;
    try {
        image_ = std::make_unique<ImageSession>(path);
        game_.emplace(*image_);
        tellRecovery(*image_);
    } catch (const FileError& error) {
        if (error.failure == FileFailure::Held || error.failure == FileFailure::AccessRefused) {
            window_.showMessage(text::kAccessRefused, MessageIcon::Critical);
            return false;
        }
        // What a container or a sheet is, and how to get the raw image, the user must learn
        // here; any other failure leaves the editor without an image, silently, and every
        // operation that needs the image then says so.
        if (error.failure == FileFailure::NotRawImage || error.failure == FileFailure::BadCueSheet)
            window_.showMessage(text::describe(error), MessageIcon::Critical);
    }
    return true;
}

void FlagEditor::confirmWrites() {
    game();  // says when no image is open
    writesConfirmed_ = writesConfirmed_ || checkGame(image_->file()).passes() ||
                       window_.askYesNo(text::kNotTheGame);
    if (!writesConfirmed_)
        throw WriteDeclined{};
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

void FlagEditor::showName(const std::string& name) {
    state_.name = name;
    window_.setText(kNameBox, name);
}

void FlagEditor::onTeamChosen(int team) {
    guarded([&] {
        state_.team = team;
        window_.setEnabled(kSaveButton, true);
        showName("");
        if (isTeam(team))
            showName(game().teamName(team));
    });
}

void FlagEditor::showDesign() {
    window_.showPicture(kPreview, state_.catalogId);
    window_.setText(kPositionLabel, std::to_string(catalogPosition(state_.catalogId)));
    showPreviewTip();
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
    state_.pairings.clear();
    window_.setLines(kPairingList, {});
    state_.team = -1;
    window_.setText(kTeamList, "");
    showName("");
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
        window_.check(*stored == NetPattern::Plain ? kPlainNetsOption : kDiamondNetsOption);
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
            confirmWrites();
            ImageEdit edit = game().planNets(*state_.nets);
            edit.description = change_name::nets(*state_.nets);
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
        image_->undo(1, change_name::undo({&last, 1}));
        state_.pairings.takeBack(last.sequence);
        window_.setLines(kPairingList, state_.pairings.lines());
        probeNets();
        window_.showMessage(text::kUndoDone + last.description, MessageIcon::Information);
    });
}

}  // namespace tavrel
