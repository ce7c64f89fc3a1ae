// The palettes' runs and the sectors that hold the places Tavrel writes.
#include "game/game_places.h"

#include <algorithm>

namespace tavrel {

std::vector<ByteRun> paletteRuns(int team) {
    const std::int64_t offset = kTeams.at(static_cast<std::size_t>(team)).paletteOffset;
    return offset == kNoPalette ? std::vector<ByteRun>{} : userDataRuns(offset, kPaletteSize);
}

std::vector<std::int64_t> touchedSectors() {
    std::vector<ByteRun> places{{kNetsOffset, 2}};
    for (const std::int64_t copy : kTypeTableCopies) places.push_back({copy, kTypeTableSize});
    for (int team = 0; team < kTeamCount; ++team) {
        const std::vector<ByteRun> runs = paletteRuns(team);
        places.insert(places.end(), runs.begin(), runs.end());
    }
    std::vector<std::int64_t> sectors;
    for (const ByteRun& place : places) {
        for (std::int64_t sector = place.offset / kRawSectorSize;
             sector <= (place.offset + place.length - 1) / kRawSectorSize; ++sector)
            sectors.push_back(sector);
    }
    std::sort(sectors.begin(), sectors.end());
    sectors.erase(std::unique(sectors.begin(), sectors.end()), sectors.end());
    return sectors;
}

}  // namespace tavrel
