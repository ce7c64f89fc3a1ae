#include "fake_window.h"

#include <stdexcept>

namespace tavrel::testing {

FakeWindow::FakeWindow(const WindowTable& table) : table_(table) {
    shown_.resize(table.controls.size());
    for (std::size_t i = 0; i < shown_.size(); ++i) shown_[i].text = table[i].text;
}

void FakeWindow::check(std::size_t control) {
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        if (table_[i].kind == ControlKind::OptionButton &&
            table_[i].parent == table_[control].parent)
            shown_[i].checked = i == control;
    }
}

void FakeWindow::click(std::string_view control) {
    const std::size_t clicked = table_.row(control);
    if (table_[clicked].kind == ControlKind::OptionButton)
        check(clicked);
    events->clicked(clicked);
}

void FakeWindow::choose(std::string_view control, int item) {
    Shown& list = shown_[table_.row(control)];
    list.text = list.lines.at(static_cast<std::size_t>(item));
    events->chosen(table_.row(control), item);
}

void FakeWindow::type(std::string_view control, const std::string& text) {
    shown_[table_.row(control)].text = text;
    events->edited(table_.row(control), text);
}

std::string FakeWindow::askOpenFileName(const OpenDialogRequest& request) {
    dialogRequests.push_back(request);
    if (dialogAnswers.empty())
        return {};
    std::string answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

std::optional<Rgb8> FakeWindow::askColour(Rgb8, const std::string& title) {
    colourTitles.push_back(title);
    if (colourAnswers.empty())
        return std::nullopt;
    const std::optional<Rgb8> answer = colourAnswers.front();
    colourAnswers.pop_front();
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
