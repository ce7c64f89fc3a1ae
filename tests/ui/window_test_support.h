// Helpers for driving MainWindow offscreen: dialogs answered from a script, controls found by
// their object names, a team chosen from the drop-down list as a user would.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include <QComboBox>
#include <QTest>

#include "main_window.h"
#include "window_dialogs.h"

namespace tavrel::testing {

// What the test answers and what the window asked; owned by the test, outliving the window.
struct DialogScript {
    std::deque<QString> fileAnswers;   // one per file dialog; an empty text cancels
    std::deque<QColor> colourAnswers;  // one per colour chooser; none cancels
    std::vector<QString> messages;     // the texts of message boxes and questions, in order
    QString programFolder;
    int unansweredFileDialogs = 0;
    bool yes = true;  // the answer to every Yes/No question
};

class ScriptedDialogs final : public WindowDialogs {
public:
    explicit ScriptedDialogs(DialogScript& script) : script_(script) {}

    void showMessage(QWidget*, const QString&, const QString& text, MessageIcon) override {
        script_.messages.push_back(text);
    }

    bool askYesNo(QWidget*, const QString&, const QString& question) override {
        script_.messages.push_back(question);
        return script_.yes;
    }

    QString askOpenFileName(QWidget*, const FileDialogSetup&) override {
        if (script_.fileAnswers.empty()) {
            ++script_.unansweredFileDialogs;
            return {};
        }
        QString answer = script_.fileAnswers.front();
        script_.fileAnswers.pop_front();
        return answer;
    }

    std::optional<QColor> askColour(QWidget*, const QColor&, const QString&) override {
        if (script_.colourAnswers.empty())
            return std::nullopt;
        const QColor answer = script_.colourAnswers.front();
        script_.colourAnswers.pop_front();
        return answer;
    }

    QString programFolder() const override { return script_.programFolder; }

private:
    DialogScript& script_;
};

inline std::unique_ptr<MainWindow> makeWindow(DialogScript& script) {
    return std::make_unique<MainWindow>(std::make_unique<ScriptedDialogs>(script));
}

template <typename Control = QWidget>
Control* control(const QWidget& window, const char* name) {
    return window.findChild<Control*>(QString::fromLatin1(name));
}

// Chooses a team in the team list as a click on its line does (the real drop-down is driven in
// the real-window test).
inline bool chooseTeam(const QWidget& window, const QString& label) {
    auto* list = control<QComboBox>(window, "teamList");
    const int row = list->findText(label);
    list->setCurrentIndex(row);
    emit list->activated(row);
    return row >= 0;
}

}  // namespace tavrel::testing
