// Reading and checking a plan.
#include "tool/flag_plan.h"

#include <sstream>

#include "catalog/catalog.h"
#include "game/flag_files.h"
#include "image/file_error.h"
#include "platform/paths.h"
#include "tool/flag_changes.h"
#include "tool/team_argument.h"
#include "tool/tool_text.h"

namespace tavrel::tool {
namespace {

// The words of one line; false when a quote is left open.
bool splitWords(const std::string& line, std::vector<std::string>& words) {
    std::string word;
    bool quoted = false, inWord = false;
    for (const char c : line) {
        const bool colourHash = c == '#' && inWord && !word.empty() && word.back() == '=';
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || (c == '#' && !colourHash))) {
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

// The draft a plan's second word starts: a design N°, a flag record written out (as diff --plan
// writes a flag no design has), or a .flg file (an absolute name as it stands, a relative one
// from the plan's folder); none, and why, when it names none.
std::optional<FlagDraft> sourceDraft(const std::string& source, int team, const std::string& folder,
                                     std::string& why) {
    if (source.find_first_not_of("0123456789") == std::string::npos) {
        const auto id = designFromArgument(source);
        if (!id)
            why = "disegno fuori catalogo: " + source + " (1–135)";
        return id ? std::optional(FlagDraft::ofDesign(*id, team)) : std::nullopt;
    }
    if (source.size() == kFlagRecordLength) {
        if (const ParsedRecord record = parseFlagRecord(source); record.flag)
            return FlagDraft::ofFlag(*record.flag, team);
    }
    try {
        const std::optional<Flag> flag = fileFlag(pathIn(folder, source), why);
        return flag ? std::optional(FlagDraft::ofFlag(*flag, team)) : std::nullopt;
    } catch (const FileError& error) {
        why = describe(error);
        return std::nullopt;
    }
}

// The changes the words after the source give: "--colour K=..." any number of times, "--type
// XX" once.
std::optional<FlagChanges> lineChanges(const std::vector<std::string>& words, std::string& why) {
    std::vector<std::string> colours;
    std::string type;
    for (std::size_t i = 2; i < words.size(); i += 2) {
        const bool known = words[i] == "--colour" || words[i] == "--type";
        if (!known || i + 1 == words.size()) {
            why =
                known ? "manca il valore di " + words[i] : "parola inattesa: \"" + words[i] + "\"";
            return std::nullopt;
        }
        if (words[i] == "--colour") {
            colours.push_back(words[i + 1]);
        } else if (type.empty()) {
            type = words[i + 1];
        } else {
            why = "il tipo è dato due volte";
            return std::nullopt;
        }
    }
    return readFlagChanges(colours, type, why);
}

// The flag one line's words give `team`; none, and why, when they give none.
std::optional<Flag> lineFlag(const std::vector<std::string>& words, int team,
                             const std::string& folder, std::string& why) {
    const std::optional<FlagChanges> changes = lineChanges(words, why);
    if (!changes)
        return std::nullopt;
    std::optional<FlagDraft> draft = sourceDraft(words[1], team, folder, why);
    if (!draft || !makeFlagChanges(*draft, *changes, team, why))
        return std::nullopt;
    return draft->flag();
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
        if (words.size() < 2) {
            plan.errors.push_back(at + "servono SQUADRA e DISEGNO o FILE");
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
        if (const std::optional<Flag> flag = lineFlag(words, *team, folder, why))
            plan.flags.push_back({*team, *flag});
        else
            plan.errors.push_back(at + why);
    }
    return plan;
}

}  // namespace tavrel::tool
