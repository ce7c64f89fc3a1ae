// What may stand in place of the word being typed, for the shell's completion
// (data/tavrel-tool.bash): asked of the tool, it follows the commands as they are declared.
#include <algorithm>
#include <cctype>
#include <iostream>

#include "game/team_table.h"
#include "tool/command_line.h"
#include "tool/tool_text.h"

namespace tavrel::tool {
namespace {

enum class Fill { Nothing, Files, Folders, Teams, Nets };

// What each argument and option value of the commands holds, by its name.
constexpr std::pair<const char*, Fill> kFills[] = {
    {"IMAGE", Fill::Files},  {"OUT", Fill::Files},    {"--file", Fill::Files},
    {"--plan", Fill::Files}, {"--to", Fill::Folders}, {"TEAM", Fill::Teams},
    {"PATTERN", Fill::Nets},
};

Fill fillOf(const std::string& name) {
    for (const auto& [known, fill] : kFills) {
        if (name == known)
            return fill;
    }
    return Fill::Nothing;
}

bool startsWithIgnoringCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && std::equal(start.begin(), start.end(), text.begin(),
                                                     [](unsigned char a, unsigned char b) {
                                                         return std::tolower(a) == std::tolower(b);
                                                     });
}

std::vector<std::string> optionNames(const CLI::App& command) {
    std::vector<std::string> names;
    for (const CLI::Option* option : command.get_options()) {
        if (option->get_positional())
            continue;
        for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
        for (const std::string& name : option->get_snames()) names.push_back("-" + name);
    }
    return names;
}

const CLI::Option* optionNamed(const CLI::App& command, const std::string& name) {
    for (const CLI::Option* option : command.get_options()) {
        if (!option->get_positional() && option->check_name(name))
            return option;
    }
    return nullptr;
}

// What the word after `before` (the command's name and the words typed after it) holds.
Fill fillAfter(const CLI::App& command, const std::vector<std::string>& before) {
    const CLI::Option* last = before.size() > 1 ? optionNamed(command, before.back()) : nullptr;
    if (last != nullptr)
        return last->get_type_size() != 0 ? fillOf(last->get_name()) : Fill::Nothing;
    std::size_t position = 0;
    for (std::size_t i = 1; i < before.size(); ++i) {
        const CLI::Option* option = optionNamed(command, before[i]);
        if (option != nullptr && option->get_type_size() != 0)
            ++i;  // its value
        else if (option == nullptr && !before[i].starts_with("-"))
            ++position;
    }
    const std::vector<const CLI::Option*> arguments =
        command.get_options([](const CLI::Option* option) { return option->get_positional(); });
    if (arguments.empty())
        return Fill::Nothing;
    const CLI::Option* argument = arguments[std::min(position, arguments.size() - 1)];
    if (position >= arguments.size() && argument->get_expected_max() <= 1)
        return Fill::Nothing;
    return fillOf(argument->get_name());
}

// The kind of word that fits, and the words when it is a choice among words.
struct Completion {
    const char* kind = "words";
    std::vector<std::string> words;
};

Completion complete(const CLI::App& app, const std::vector<std::string>& before,
                    const std::string& typed) {
    const std::vector<std::string> commands = commandNames(app);
    if (before.empty()) {
        Completion choice{"words", commands};
        for (const std::string& option : optionNames(app)) choice.words.push_back(option);
        return choice;
    }
    if (std::find(commands.begin(), commands.end(), before.front()) == commands.end())
        return {};
    const CLI::App& command = *app.get_subcommand(before.front());
    if (typed.starts_with("-"))
        return {"words", optionNames(command)};
    switch (fillAfter(command, before)) {
        case Fill::Teams: {
            Completion labels;
            for (const Team& team : kTeams) labels.words.emplace_back(team.label);
            return labels;
        }
        case Fill::Nets:
            return {"words", {"normali", "rombi"}};
        case Fill::Files:
            return {"files", {}};
        case Fill::Folders:
            return {"folders", {}};
        case Fill::Nothing:
            break;
    }
    return {};
}

}  // namespace

int completeWord(const CLI::App& app, std::vector<std::string> words, Streams io) {
    const std::string typed = words.empty() ? "" : words.back();
    if (!words.empty())
        words.pop_back();
    const Completion completion = complete(app, words, typed);
    io.out << completion.kind << '\n';
    for (const std::string& word : completion.words) {
        if (startsWithIgnoringCase(word, typed))
            io.out << word << '\n';
    }
    return kSuccess;
}

}  // namespace tavrel::tool
