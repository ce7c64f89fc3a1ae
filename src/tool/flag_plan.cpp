// Reading and checking a plan.
#include "tool/flag_plan.h"

#include <sstream>

#include "catalog/catalog.h"
#include "game/flag_files.h"
#include "image/file_error.h"
#include "platform/paths.h"
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

// The flag a plan's second word names: a design N°, or a .flg file (an absolute name as it
// stands, a relative one from the plan's folder); none, and why, when it names none.
std::optional<Flag> sourceFlag(const std::string& source, int team, const std::string& folder,
                               std::string& why) {
    if (source.find_first_not_of("0123456789") == std::string::npos) {
        const auto id = designFromArgument(source);
        if (!id)
            why = "disegno fuori catalogo: " + source + " (1–135)";
        return id ? std::optional(flagForTeam(catalogFlag(*id), team, *id)) : std::nullopt;
    }
    try {
        return fileFlag(pathIn(folder, source), why);
    } catch (const FileError& error) {
        why = describe(error);
        return std::nullopt;
    }
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
        int& first = lineOfTeam[static_cast<std::size_t>(*team)];
        if (first != 0) {
            plan.errors.push_back(at + words[0] + " è già nella riga " + std::to_string(first));
            continue;
        }
        first = number;
        std::string why;
        if (const std::optional<Flag> flag = sourceFlag(words[1], *team, folder, why))
            plan.flags.push_back({*team, *flag});
        else
            plan.errors.push_back(at + why);
    }
    return plan;
}

}  // namespace tavrel::tool
