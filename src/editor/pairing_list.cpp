// Lines are kept as teams and positions and worded when shown: a team's line is found by its
// team, never by a part of its text ("Monaco" is part of "Bayer Monaco").
#include "editor/pairing_list.h"

#include <algorithm>

#include "editor/messages.h"
#include "game/team_table.h"

namespace tavrel {

std::optional<std::size_t> PairingList::find(int team) const {
    const auto at = std::find_if(lines_.begin(), lines_.end(),
                                 [team](const Line& line) { return line.team == team; });
    if (at == lines_.end())
        return std::nullopt;
    return static_cast<std::size_t>(at - lines_.begin());
}

void PairingList::add(int team, int position, std::optional<std::uint64_t> change) {
    const std::optional<std::size_t> at = find(team);
    if (change)
        saves_.push_back(
            {*change, team, at ? std::optional(lines_[*at]) : std::nullopt, at.value_or(0)});
    if (at)
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
    lines_.push_back({team, position});
}

void PairingList::takeBack(std::uint64_t change) {
    const auto save = std::find_if(saves_.begin(), saves_.end(),
                                   [change](const Save& s) { return s.change == change; });
    if (save == saves_.end())
        return;
    if (const std::optional<std::size_t> at = find(save->team))
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
    if (save->before) {
        const std::size_t at = std::min(save->beforeAt, lines_.size());
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), *save->before);
    }
    saves_.erase(save);
}

void PairingList::clear() {
    lines_.clear();
    saves_.clear();
}

std::vector<std::string> PairingList::lines() const {
    std::vector<std::string> shown;
    for (const Line& line : lines_)
        shown.push_back(kTeams[static_cast<std::size_t>(line.team)].label +
                        std::string(text::kPairingInfix) + std::to_string(line.position));
    return shown;
}

}  // namespace tavrel
