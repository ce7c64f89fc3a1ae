// tavrel-tool's commands run in this process: what needs neither the program's console nor a
// process of its own.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tool/command_line.h"

namespace tavrel::testing {

struct ToolRun {
    int status;
    std::string out, err;
};

// The command `line` (words between blanks) run from `folder`.
inline ToolRun runHere(const std::filesystem::path& folder, const std::string& line) {
    std::vector<std::string> words;
    std::istringstream split(line);
    for (std::string word; split >> word;) words.push_back(word);
    std::ostringstream out, err;
    std::istringstream in;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const int status = tool::runTool(words, {out, err, in});
    std::filesystem::current_path(before);
    return {status, out.str(), err.str()};
}

}  // namespace tavrel::testing
