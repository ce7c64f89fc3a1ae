// Reading and checking a plan.
#include "tool/flag_plan.h"

#include <sstream>

#include "catalog/catalog.h"
#include "game/flag_files.h"
#include "image/file_error.h"
#include "image/paths.h"
#include "tool/team_argument.h"
#include "tool/tool_text.h"

namespace tavrel::tool {
namespace {

// The words of one line; false when a quote is left open.
bool splitWords(const std::string& line, std::vector<std::string>& words) {
    std::string word;
    bool quoted = false, inWord = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '#')) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
            if (c == '#')
                return true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return !quoted;
}

}  // namespace

std::optional<Flag> fileFlag(const std::string& path, std::string& why) {
    const ParsedRecord parsed = readFlagFile(path);
    if (!parsed.flag)
        why = path + ": la prima riga non è una bandiera, " + describe(parsed.error);
    return parsed.flag;
}

Plan readPlan(const std::string& text, const std::string& folder) {
    Plan plan;
    std::vector<int> lineOfTeam(kTeamCount, 0);
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string at = "riga " + std::to_string(number) + ": ";
        std::vector<std::string> words;
        if (!splitWords(line, words)) {
            plan.errors.push_back(at + "virgolette non chiuse");
            continue;
        }
        if (words.empty())
            continue;
        if (words.size() != 2) {
            plan.errors.push_back(at + "servono due parole, SQUADRA e DISEGNO o FILE");
            continue;
        }
        const std::optional<int> team = teamFromArgument(words[0]);
        if (!team) {
            plan.errors.push_back(at + "squadra sconosciuta: \"" + words[0] + "\"");
            continue;
        }
        if (lineOfTeam[static_cast<std::size_t>(*team)] != 0) {
            plan.errors.push_back(at + words[0] + " è già nella riga " +
                                  std::to_string(lineOfTeam[static_cast<std::size_t>(*team)]));
            continue;
        }
        lineOfTeam[static_cast<std::size_t>(*team)] = number;
        const std::string& source = words[1];
        if (source.find_first_not_of("0123456789") == std::string::npos) {
            if (const auto id = designFromArgument(source))
                plan.flags.push_back({*team, flagForTeam(catalogFlag(*id), *team, *id)});
            else
                plan.errors.push_back(at + "disegno fuori catalogo: " + source + " (1–135)");
            continue;
        }
        // An absolute name stands as it is; a relative one is taken from the plan's folder.
        const std::string path = pathIn(folder, source);
        std::string why;
        try {
            if (const auto flag = fileFlag(path, why))
                plan.flags.push_back({*team, *flag});
            else
                plan.errors.push_back(at + why);
        } catch (const FileError& error) {
            plan.errors.push_back(at + describe(error));
        }
    }
    return plan;
}

}  // namespace tavrel::tool
