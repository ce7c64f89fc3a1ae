// The flag window: following the main window's team, the flag being edited, Import, Export
// and Salva.
#include "editor/flag_window_editor.h"

#include <array>
#include <charconv>

#include "catalog/design_drawing.h"
#include "editor/flag_editor.h"
#include "editor/flag_images.h"
#include "editor/flag_window_table.h"
#include "editor/flag_window_texts.h"
#include "editor/main_window_table.h"
#include "editor/messages.h"
#include "game/change_names.h"
#include "game/flag_files.h"
#include "image/file_error.h"

namespace tavrel {
namespace {

using namespace flag_window;

// A N° as typed: 1 to 135 in decimal digits alone; none for anything else.
std::optional<int> typedPosition(const std::string& text) {
    int position = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), position);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !isCatalogId(catalogIdAt(position)))
        return std::nullopt;
    return position;
}

std::optional<int> teamOrNone(int team) {
    return isTeam(team) ? std::optional(team) : std::nullopt;
}

// Whether the draft's drawing paints colour k; every colour counts where there is no drawing.
std::array<bool, kColourCount + 1> drawnColours(const FlagDraft& draft) {
    std::array<bool, kColourCount + 1> drawn{};
    drawn.fill(!draft.drawingDesign());
    if (draft.drawingDesign()) {
        for (const auto& [name, k] : catalogDrawing(*draft.drawingDesign()).colourSlots)
            drawn[static_cast<std::size_t>(k)] = true;
    }
    return drawn;
}

std::string labelOf(int team) {
    return isTeam(team) ? kTeams[static_cast<std::size_t>(team)].label : "";
}

}  // namespace

FlagWindowEditor::FlagWindowEditor(FlagEditor& editor,
                                   const std::function<WindowServices&(WindowEvents&)>& make)
    : editor_(editor), window_(make(*this)) {
    for (int k = 1; k <= kColourCount; ++k) window_.setToolTip(swatchRow(k), text::colourTip(k));
    window_.setToolTip(kNumberBox, text::kNumberTip);
    window_.setToolTip(kTypeBox, text::kTypeTip);
    window_.setToolTip(kFromTeamButton, text::kFromTeamTip);
    window_.setToolTip(kFromMainButton, text::kFromMainTip);
    window_.setToolTip(kSaveButton, text::kSaveTip);
}

void FlagWindowEditor::guarded(const std::function<void()>& operation) {
    if (!editor_.endStatus())
        runGuarded(window_, operation);
}

void FlagWindowEditor::open() {
    if (!open_) {
        open_ = true;
        team_ = -1;
        held_.reset();
        draft_.reset();
        follow();
    }
    window_.present();
}

void FlagWindowEditor::follow() {
    if (!open_)
        return;
    const EditorState& main = editor_.state();
    window_.setText(kFromMainButton, text::fromMainText(catalogPosition(main.catalogId)));
    std::string failure;
    const std::optional<Flag> held = readHeld(failure);
    const bool sameFlag = draft_ && main.team == team_ && held == held_;
    team_ = main.team;
    held_ = held;
    showTeam(failure);
    if (sameFlag)
        return;  // nothing new: the edit goes on
    if (held_)
        startFrom(FlagDraft::ofFlag(*held_, team_), Start::Team);
    else
        startFromDesign(main.catalogId);
}

// The chosen team's flag as the image holds it now; for a team without a palette, its type.
std::optional<Flag> FlagWindowEditor::readHeld(std::string& failure) {
    const int team = editor_.state().team;
    if (!isTeam(team) || !editor_.hasImage())
        return std::nullopt;
    try {
        GameImage& game = editor_.game();
        return hasPalette(team) ? game.readFlag(team) : Flag{game.readType(team), {}};
    } catch (const FileError& error) {
        failure = text::describe(error);
        return std::nullopt;
    }
}

void FlagWindowEditor::showTeam(const std::string& failure) {
    window_.setText(kTeamBox, isTeam(team_) ? labelOf(team_) : text::kNoTeamChosen);
    std::string holds;
    if (!editor_.hasImage())
        holds = text::kNoImageOpen;
    else if (!failure.empty())
        holds = text::unreadableText(failure);
    else if (held_ && hasPalette(team_))
        holds = text::designsText(matchFlag(*held_), held_->type);
    else if (held_)
        holds = text::typeOnlyText(held_->type);
    window_.setText(kHoldsBox, holds);
    window_.setEnabled(kSaveButton, isTeam(team_) && editor_.hasImage());
    window_.setEnabled(kFromTeamButton, held_.has_value());
}

void FlagWindowEditor::startFrom(FlagDraft draft, Start start, std::size_t typedInto) {
    draft_ = std::move(draft);
    start_ = start;
    startFlag_ = draft_->flag();
    if (start != Start::File)
        startFile_.clear();
    showDraft(typedInto);
}

void FlagWindowEditor::startFromDesign(int catalogId, std::size_t typedInto) {
    startDesign_ = catalogId;
    startFrom(FlagDraft::ofDesign(catalogId, teamOrNone(team_)), Start::Design, typedInto);
}

bool FlagWindowEditor::unsaved() const {
    if (!held_)
        return false;
    return hasPalette(team_) ? draft_->flag() != *held_ : draft_->type() != held_->type;
}

void FlagWindowEditor::showDraft(std::size_t typedInto) {
    const FlagDraft& draft = *draft_;
    const bool colours = draft.coloursEditable();
    const auto drawn = drawnColours(draft);
    for (int k = 1; k <= kColourCount; ++k) {
        const std::uint16_t word = colours ? draft.word(k) : kTransparentWord;
        window_.showImage(swatchRow(k), colours ? swatchPicture(word, kSwatchWidth, kSwatchHeight)
                                                : FlagPicture{});
        window_.setText(valueRow(k), colours ? text::colourValueText(k, word) : "");
        // Greyed: the preview does not show this colour.
        window_.setEnabled(valueRow(k), drawn[static_cast<std::size_t>(k)]);
        window_.setChecked(flagBitRow(k), colours && flagBitOf(word));
        window_.setEnabled(swatchRow(k), colours);
        window_.setEnabled(flagBitRow(k), colours);
    }
    const std::optional<FlagPicture> picture = draft.picture(kPreviewScale);
    window_.showImage(kPreview, picture ? onCheckerboard(*picture) : FlagPicture{});
    const std::string flag =
        colours ? text::designsText(draft.match(), draft.type()) : text::typeOnlyText(draft.type());
    window_.setText(kDraftBox, flag);
    window_.setText(kDraftNote, text::draftNote(startFile_, unsaved()));
    const std::vector<int>& equal = draft.match().equalDesigns;
    if (typedInto != kNumberBox)
        window_.setText(kNumberBox, equal.empty() ? "" : std::to_string(catalogPosition(equal[0])));
    if (typedInto != kTypeBox)
        window_.setText(kTypeBox, typeText(draft.type()));
    window_.setEnabled(kExportButton, colours && isTeam(team_));
}

void FlagWindowEditor::clicked(std::size_t control) {
    if (const int k = colourOfRow(control); k != 0) {
        if (control == swatchRow(k))
            guarded([&] { onChooseColour(k); });
        else if (draft_->toggleFlagBit(k))
            showDraft();
        return;
    }
    if (control == kFromTeamButton)
        guarded([&] { onFromTeam(); });
    if (control == kFromMainButton)
        guarded([&] { onFromMain(); });
    if (control == kImportButton)
        guarded([&] { onImport(); });
    if (control == kExportButton)
        guarded([&] { onExport(); });
    if (control == kSaveButton)
        guarded([&] { onSave(); });
}

void FlagWindowEditor::edited(std::size_t control, const std::string& text) {
    if (control == kNumberBox)
        onNumberTyped(text);
    if (control == kTypeBox)
        onTypeTyped(text);
}

void FlagWindowEditor::onFromTeam() {
    if (held_)
        startFrom(FlagDraft::ofFlag(*held_, team_), Start::Team);
}

void FlagWindowEditor::onFromMain() {
    startFromDesign(editor_.state().catalogId);
}

void FlagWindowEditor::onNumberTyped(const std::string& text) {
    if (const std::optional<int> position = typedPosition(text))
        startFromDesign(catalogIdAt(*position), kNumberBox);
}

void FlagWindowEditor::onTypeTyped(const std::string& text) {
    if (const std::optional<std::uint8_t> type = parseTypeText(text)) {
        draft_->setType(*type);
        showDraft(kTypeBox);
    }
}

void FlagWindowEditor::onChooseColour(int k) {
    if (!draft_->coloursEditable())
        return;
    const std::optional<Rgb8> chosen = window_.askColour(displayed(colourOf(draft_->word(k))),
                                                         text::colourTitle(k, labelOf(team_)));
    if (!chosen)
        return;
    draft_->setColour(k, *chosen);
    if (isTransparent(draft_->word(k)) && window_.askYesNo(text::transparentBlackQuestion(k)))
        draft_->setWord(k, kOpaqueBlackWord);
    showDraft();
}

void FlagWindowEditor::onImport() {
    const std::string path =
        window_.askOpenFileName({{{"*.flg", "*.flg"}}, window_.programFolder(), ""});
    if (path.empty())
        return;
    const ParsedRecord parsed = readFlagFile(path);
    if (!parsed.flag)
        return window_.showMessage(text::kMalformedRecord, MessageIcon::Information);
    startFile_ = path;
    startFrom(FlagDraft::ofFlag(*parsed.flag, teamOrNone(team_)), Start::File);
}

void FlagWindowEditor::onExport() {
    if (!isTeam(team_))
        return window_.showMessage(text::kNoTeamForExport, MessageIcon::Information);
    const std::optional<std::string> fileName = flagFileName(editor_.state().name);
    if (!fileName)
        return window_.showMessage(text::kBadExportName, MessageIcon::Information);
    writeFlagFiles(window_.programFolder(), {{*fileName, draft_->flag()}});
    window_.showMessage(text::kExportDone, MessageIcon::Information);
}

void FlagWindowEditor::onSave() {
    if (!isTeam(team_))
        return window_.showMessage(text::kNoTeamSelected, MessageIcon::Information);
    const int team = team_;
    const std::optional<std::uint64_t> change =
        editor_.write(editor_.game().planFlag(team, draft_->flag()), changeName());
    // A flag equal to a design is listed as the main window's Salva lists one.
    if (const std::vector<int>& equal = draft_->match().equalDesigns; !equal.empty()) {
        editor_.state_.pairings.add(team, catalogPosition(equal.front()), change);
        editor_.window_.setLines(main_window::kPairingList, editor_.state_.pairings.lines());
    }
    window_.showMessage(text::kSaveDone, MessageIcon::Information);
    follow();
}

// The start's own name, with every colour and the type that differ from the start.
std::string FlagWindowEditor::changeName() const {
    std::vector<std::string> colours;
    for (int k = 1; k <= kColourCount && draft_->coloursEditable(); ++k) {
        if (draft_->word(k) != colourWord(startFlag_, k))
            colours.push_back(std::to_string(k) + "=" + wordText(draft_->word(k)));
    }
    const std::string type = draft_->type() != startFlag_.type ? typeText(draft_->type()) : "";
    switch (start_) {
        case Start::Team:
            return change_name::withEdits(change_name::teamFlag(team_), colours, type);
        case Start::Design:
            return change_name::withEdits(change_name::design(team_, catalogPosition(startDesign_)),
                                          colours, type);
        case Start::File:
            return change_name::withEdits(change_name::flagFile(team_, startFile_), colours, type);
    }
    return {};
}

}  // namespace tavrel
