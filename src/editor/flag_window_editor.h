// The flag window's operations ("Bandiera della squadra", flag_window_table.h). It follows the
// team chosen in the main window: it shows the team's flag as the image holds it (the designs
// it equals, or a flag of its own), and a flag being edited, started from the team's flag,
// from a design or from a .flg file, until Salva writes it into the team through the main
// window's editor, as the main window's Salva writes. Every rule of the edit is FlagDraft's;
// what it shows is all here, and it reaches the window only through WindowServices.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "catalog/flag_draft.h"
#include "editor/window_services.h"
#include "game/flag.h"

namespace tavrel {

class FlagEditor;

class FlagWindowEditor final : public WindowEvents {
public:
    // `make` makes the window, which reports its events to this editor (FlagEditor::
    // attachFlagWindow).
    FlagWindowEditor(FlagEditor& editor, const std::function<WindowServices&(WindowEvents&)>& make);

    // Shows the window, following the chosen team, or brings it to the front.
    void open();
    // The main window's team, design or image may have changed: while the window is open, a
    // team or a flag in the image other than the one shown starts the edit again from it.
    void follow();

    void clicked(std::size_t control) override;
    void chosen(std::size_t, int) override {}
    void edited(std::size_t control, const std::string& text) override;
    void closed() override { open_ = false; }

    bool isOpen() const { return open_; }
    const FlagDraft& draft() const { return *draft_; }

private:
    enum class Start { Team, Design, File };

    // Runs an operation of the window unless the program is ending; failures are reported in
    // a box of this window.
    void guarded(const std::function<void()>& operation);
    void startFrom(FlagDraft draft, Start start, std::size_t typedInto = 0);
    void startFromDesign(int catalogId, std::size_t typedInto = 0);
    void onFromTeam();
    void onFromMain();
    void onChooseColour(int k);
    void onNumberTyped(const std::string& text);
    void onTypeTyped(const std::string& text);
    void onImport();
    void onExport();
    void onSave();

    std::optional<Flag> readHeld(std::string& failure);
    void showTeam(const std::string& failure);
    // Shows the draft everywhere but in the box the user is typing into (0: none).
    void showDraft(std::size_t typedInto = 0);
    bool unsaved() const;
    std::string changeName() const;

    FlagEditor& editor_;
    WindowServices& window_;
    bool open_ = false;
    int team_ = -1;             // the team followed; -1 for none
    std::optional<Flag> held_;  // its flag as the image held it when last read
    std::optional<FlagDraft> draft_;
    // Where the draft started, for the change log's name of a save: the flag then, and the
    // design or the file it came from.
    Start start_ = Start::Design;
    Flag startFlag_;
    int startDesign_ = 0;
    std::string startFile_;
};

}  // namespace tavrel
