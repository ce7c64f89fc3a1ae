// A scripted stand-in for any window made from a table: records what its editor shows in each
// control, message boxes and dialog requests; answers file dialogs and colour choosers from
// queues; and acts as the user does, reporting clicks, choices, typing, double clicks and arrow
// keys to the editor as the real windows do.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/main_window_table.h"
#include "editor/window_services.h"

namespace tavrel::testing {

struct RecordedMessage {
    std::string text;
    MessageIcon icon;
};

class FakeWindow : public WindowServices {
public:
    explicit FakeWindow(const WindowTable& table = kMainWindow);

    // What the controls show, by name.
    const std::string& text(std::string_view control) const { return at(control).text; }
    const std::vector<std::string>& lines(std::string_view control) const {
        return at(control).lines;
    }
    bool checked(std::string_view control) const { return at(control).checked; }
    bool enabled(std::string_view control) const { return at(control).enabled; }
    int picture(std::string_view control) const { return at(control).picture; }
    const FlagPicture& image(std::string_view control) const { return at(control).image; }
    const std::string& toolTip(std::string_view control) const { return at(control).toolTip; }

    // The user's actions, reported to `events` as a window does: a click checks an option
    // (clearing the others of its frame) before it is reported; a choice shows its item. A
    // disabled control is clicked all the same: tests check `enabled` themselves.
    WindowEvents* events = nullptr;
    void click(std::string_view control);
    void choose(std::string_view control, int item);
    void type(std::string_view control, const std::string& text);
    void doubleClick(std::string_view control) { events->doubleClicked(table_.row(control)); }
    void arrow(std::string_view control, int step) { events->arrowKey(table_.row(control), step); }

    std::string folder = "/nonexistent";
    std::optional<int> endedWith;
    std::deque<std::string> dialogAnswers;  // each dialog takes the front; "" when empty
    std::vector<std::string> questions;
    bool yes = true;  // the answer to every Yes/No question
    std::vector<OpenDialogRequest> dialogRequests;
    std::deque<std::optional<Rgb8>> colourAnswers;  // each colour chooser takes the front
    std::vector<std::string> colourTitles;
    int presented = 0;  // times the window was shown or brought to the front
    std::vector<RecordedMessage> messages;

    // The text of the only message shown since the last call, "" when none; fails the test
    // through an exception when more than one was shown.
    std::string takeMessage();

    void setText(std::size_t control, const std::string& text) override {
        shown_.at(control).text = text;
    }
    void setLines(std::size_t control, const std::vector<std::string>& lines) override {
        shown_.at(control).lines = lines;
    }
    void check(std::size_t control) override;
    void setEnabled(std::size_t control, bool enabled) override {
        shown_.at(control).enabled = enabled;
    }
    void showPicture(std::size_t control, int picture) override {
        shown_.at(control).picture = picture;
    }
    void showImage(std::size_t control, const FlagPicture& image) override {
        shown_.at(control).image = image;
    }
    void setChecked(std::size_t control, bool checked) override {
        shown_.at(control).checked = checked;
    }
    void setToolTip(std::size_t control, const std::string& text) override {
        shown_.at(control).toolTip = text;
    }
    std::optional<Rgb8> askColour(Rgb8 initial, const std::string& title) override;
    void present() override { ++presented; }
    void showMessage(const std::string& text, MessageIcon icon) override {
        messages.push_back({text, icon});
    }
    bool askYesNo(const std::string& question) override {
        questions.push_back(question);
        return yes;
    }
    std::string askOpenFileName(const OpenDialogRequest& request) override;
    std::string programFolder() const override { return folder; }
    void endProgram(int exitCode) override { endedWith = exitCode; }

private:
    struct Shown {
        std::string text;
        std::vector<std::string> lines;
        bool checked = false;
        bool enabled = true;
        int picture = 0;
        FlagPicture image;
        std::string toolTip;
    };
    const Shown& at(std::string_view control) const { return shown_[table_.row(control)]; }

    const WindowTable& table_;
    std::vector<Shown> shown_;
};

}  // namespace tavrel::testing
