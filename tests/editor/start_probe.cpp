// Starts an editor on the image named by argv[1] and prints the messages it shows; the exit
// status is the one start-up asks for (0 when the editor would show its window). Lets a test
// run start-up as another user.
#include <iostream>

#include "editor/flag_editor.h"
#include "fake_window.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 64;
    tavrel::testing::FakeWindow window;
    tavrel::FlagEditor editor(window);
    window.dialogAnswers.push_back(argv[1]);
    const auto status = editor.startUp();
    for (const auto& message : window.messages) std::cout << message.text << '\n';
    return status.value_or(0);
}
