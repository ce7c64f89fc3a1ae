// A scripted stand-in for the window: answers file dialogs from a queue, records message
// boxes and dialog requests, and holds the controls' texts.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "editor/window_services.h"

namespace tavrel::testing {

struct RecordedMessage {
    std::string text;
    MessageIcon icon;
};

class FakeWindow : public WindowServices {
public:
    // Controls, open to tests to set up and inspect.
    int teamIndex = -1;
    std::string teamText;
    std::string nameBox;
    bool saveEnabled = false;
    std::string positionLabelText = "1";
    int previewId = 0;
    std::vector<std::string> pairing;
    std::optional<NetPattern> netOption;
    std::string folder = "/nonexistent";
    std::optional<int> endedWith;

    std::deque<std::string> dialogAnswers;  // each dialog takes the front; "" when empty
    std::vector<std::string> questions;
    bool yes = true;  // the answer to every Yes/No question
    std::vector<OpenDialogRequest> dialogRequests;
    std::vector<RecordedMessage> messages;

    // Chooses a team as the user does in the list (index and label).
    void chooseTeam(int index);

    int selectedTeamIndex() const override { return teamIndex; }
    std::string teamListText() const override { return teamText; }
    void clearTeamListText() override {
        teamText.clear();
        teamIndex = -1;
    }
    std::string nameBoxText() const override { return nameBox; }
    void setNameBoxText(const std::string& text) override { nameBox = text; }
    void enableSave() override { saveEnabled = true; }
    std::string positionLabel() const override { return positionLabelText; }
    void setPositionLabel(const std::string& text) override { positionLabelText = text; }
    void showPreview(int catalogId) override { previewId = catalogId; }
    int pairingCount() const override { return static_cast<int>(pairing.size()); }
    std::string pairingLine(int index) const override {
        return pairing.at(static_cast<std::size_t>(index));
    }
    void removePairingLine(int index) override { pairing.erase(pairing.begin() + index); }
    void addPairingLine(const std::string& line) override { pairing.push_back(line); }
    void clearPairingList() override { pairing.clear(); }
    void checkNetOption(NetPattern pattern) override { netOption = pattern; }
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

    // The text of the only message shown since the last call, "" when none; fails the test
    // through an exception when more than one was shown.
    std::string takeMessage();
};

}  // namespace tavrel::testing
