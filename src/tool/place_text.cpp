// Wording places by team.
#include "tool/place_text.h"

#include "game/team_table.h"

namespace tavrel::tool {

std::string teamLabel(int team) {
    return team < 0 ? "tabella dei tipi (posti senza squadra)"
                    : kTeams[static_cast<std::size_t>(team)].label;
}

std::string bytesInSectors(std::int64_t bytes, std::size_t sectors) {
    return std::to_string(bytes) + " byte in " + std::to_string(sectors) +
           (sectors == 1 ? " settore" : " settori");
}

std::vector<std::string> placeLines(const PlaceTally& tally) {
    std::vector<std::string> lines;
    for (const auto& [team, kinds] : tally.teams) {
        std::string line = teamLabel(team) + ":";
        for (const PlaceKind kind : kinds)
            line += std::string(line.back() == ':' ? " " : ", ") + placeWord(kind);
        lines.push_back(line);
    }
    if (tally.nets)
        lines.push_back("reti");
    if (!tally.checksumSectors.empty())
        lines.push_back("EDC/ECC di " + std::to_string(tally.checksumSectors.size()) +
                        (tally.checksumSectors.size() == 1 ? " settore" : " settori"));
    if (tally.otherBytes > 0)
        lines.push_back("fuori dai posti del gioco: " +
                        bytesInSectors(tally.otherBytes, tally.otherSectors.size()));
    return lines;
}

}  // namespace tavrel::tool
