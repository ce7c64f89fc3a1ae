// Reading team and design arguments.
#include "tool/team_argument.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "catalog/catalog.h"
#include "game/team_table.h"

namespace tavrel::tool {
namespace {

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

bool sameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::optional<int> teamFromArgument(std::string_view text) {
    if (const auto index = wholeNumber(text))
        return isTeam(*index) ? index : std::nullopt;
    for (int team = 0; team < kTeamCount; ++team) {
        if (sameLetters(text, kTeams[static_cast<std::size_t>(team)].label))
            return team;
    }
    return std::nullopt;
}

std::optional<int> designFromArgument(std::string_view text) {
    const auto number = wholeNumber(text);
    if (!number || !isCatalogId(catalogIdAt(*number)))
        return std::nullopt;
    return catalogIdAt(*number);
}

}  // namespace tavrel::tool
