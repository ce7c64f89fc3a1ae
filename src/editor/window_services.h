// What the editor's operations may do to the window, and nothing more. The Qt window
// implements it; editor tests use a scripted fake. No user-interface type crosses it.
#pragma once

#include <string>
#include <vector>

#include "game/game_places.h"

namespace tavrel {

enum class MessageIcon { Information, Critical };

struct FileFilter {
    std::string description;  // "Image CDRWIN (*.bin)"
    std::string pattern;      // "*.bin"
};

struct OpenDialogRequest {
    std::vector<FileFilter> filters;  // the first is selected when the dialog opens
    std::string initialFolder;
    bool clearFileName = false;  // start with an empty file name
    // Chosen when the dialog opens, when it lies in initialFolder and no other name is preset.
    std::string suggestedName = {};
};

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // The team list: the index of the chosen team, -1 when none (also once its text was edited
    // away from the chosen label).
    virtual int selectedTeamIndex() const = 0;
    virtual std::string teamListText() const = 0;
    virtual void clearTeamListText() = 0;  // also leaves no team selected

    // The name box: the chosen team's name as read from the image; Export names its file after it.
    virtual std::string nameBoxText() const = 0;
    virtual void setNameBoxText(const std::string& text) = 0;

    // The save button starts disabled and stays enabled once a team was chosen.
    virtual void enableSave() = 0;

    // The catalog position shown beside "N°", and the preview of the design shown.
    virtual std::string positionLabel() const = 0;
    virtual void setPositionLabel(const std::string& text) = 0;
    virtual void showPreview(int catalogId) = 0;

    // The pairing list: the teams given a catalog design, and the design's position.
    virtual int pairingCount() const = 0;
    virtual std::string pairingLine(int index) const = 0;
    virtual void removePairingLine(int index) = 0;
    virtual void addPairingLine(const std::string& line) = 0;
    virtual void clearPairingList() = 0;

    // Checks the net option of a pattern ("Normali" or "Rombi"), clearing the other, without
    // running its operation.
    virtual void checkNetOption(NetPattern pattern) = 0;

    // A modal box with one OK button under the title "Tavrel"; returns when it is closed.
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;

    // A modal Yes/No question under the title "Tavrel"; true for Yes.
    virtual bool askYesNo(const std::string& question) = 0;

    // The modal file-open dialog; returns the chosen path, empty when cancelled.
    virtual std::string askOpenFileName(const OpenDialogRequest& request) = 0;

    // Where file dialogs open and Export writes, without a trailing separator: the program's
    // own folder, or a folder of the user's when that cannot be written.
    virtual std::string programFolder() const = 0;

    // Ends the program with `exitCode`: the window hides, and its event loop ends once the
    // operation running returns. The editor runs no operation after this.
    virtual void endProgram(int exitCode) = 0;
};

}  // namespace tavrel
