// The lookups over the team table.
#include "layout/team_table.h"

#include "layout/game_layout.h"

namespace tavrel {
namespace {

const TeamEntry* findTeam(int index) {
    for (const TeamEntry& team : kTeamTable) {
        if (team.index == index)
            return &team;
    }
    return nullptr;
}

}  // namespace

void Off_Name_HEX(int ID, std::int32_t& OffSet, std::int16_t& Lngh) {
    const TeamEntry* team = findTeam(ID);
    if (team == nullptr || team->nameOffset == kNoName)
        return;
    OffSet = team->nameOffset + 1;
    Lngh = team->nameLength;
}

void OffColor(int ID, std::int32_t& OFF_HEX_COL) {
    const TeamEntry* team = findTeam(ID);
    if (team == nullptr)
        return;
    OFF_HEX_COL = team->paletteOffset == kNoPalette ? 0 : team->paletteOffset + 1;
}

const char* teamLabel(int index) {
    const TeamEntry* team = findTeam(index);
    return team == nullptr ? "" : team->label;
}

std::vector<ByteRun> paletteRuns(std::int64_t palettePosition) {
    return userDataRuns(palettePosition, kPaletteBytes);
}

}  // namespace tavrel
