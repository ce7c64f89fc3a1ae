#include "fake_window.h"

#include <stdexcept>

#include "game/team_table.h"

namespace tavrel::testing {

void FakeWindow::chooseTeam(int index) {
    teamIndex = index;
    teamText = kTeams.at(static_cast<std::size_t>(index)).label;
}

std::string FakeWindow::askOpenFileName(const OpenDialogRequest& request) {
    dialogRequests.push_back(request);
    if (dialogAnswers.empty())
        return {};
    std::string answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

std::string FakeWindow::takeMessage() {
    if (messages.size() > 1)
        throw std::logic_error("more than one message was shown");
    std::string text = messages.empty() ? std::string() : messages.front().text;
    messages.clear();
    return text;
}

}  // namespace tavrel::testing
