// The game's places as one sorted table, searched by offset.
#include "game/place_map.h"

#include <algorithm>
#include <vector>

#include "game/game_places.h"

namespace tavrel {
namespace {

struct PlaceRun {
    std::int64_t offset, length;
    PlaceKind kind;
    int team;  // for a type-table copy, found from the slot
};

std::vector<PlaceRun> buildPlaces() {
    std::vector<PlaceRun> places;
    for (const std::int64_t copy : kTypeTableCopies)
        places.push_back({copy, kTypeTableSize, PlaceKind::Type, -1});
    places.push_back({kNetsOffset, 2, PlaceKind::Nets, -1});
    for (const ByteRun& piece : kTwoPieceName)
        places.push_back({piece.offset, piece.length, PlaceKind::Name, kTwoPieceNameTeam});
    for (int team = 0; team < kTeamCount; ++team) {
        const Team& row = kTeams[static_cast<std::size_t>(team)];
        if (row.nameOffset != kNoName)
            places.push_back({row.nameOffset, row.nameLength, PlaceKind::Name, team});
        for (const ByteRun& run : paletteRuns(team))
            places.push_back({run.offset, run.length, PlaceKind::Palette, team});
    }
    std::sort(places.begin(), places.end(),
              [](const PlaceRun& a, const PlaceRun& b) { return a.offset < b.offset; });
    return places;
}

int teamInSlot(std::int64_t slot) {
    if (slot < kFirstClub)
        return static_cast<int>(slot);
    return slot < kFirstClub + kUnlistedSlots ? -1 : static_cast<int>(slot) - kUnlistedSlots;
}

}  // namespace

Place placeAt(std::int64_t offset) {
    static const std::vector<PlaceRun> places = buildPlaces();
    auto run = std::upper_bound(places.begin(), places.end(), offset,
                                [](std::int64_t at, const PlaceRun& r) { return at < r.offset; });
    if (run != places.begin() && offset < (--run)->offset + run->length)
        return {run->kind,
                run->kind == PlaceKind::Type ? teamInSlot(offset - run->offset) : run->team};
    if (offset % kRawSectorSize >= kSectorUserDataEnd)
        return {PlaceKind::Checksums, -1};
    return {};
}

void PlaceTally::add(std::int64_t offset) {
    const Place place = placeAt(offset);
    switch (place.kind) {
        case PlaceKind::Nets:
            nets = true;
            break;
        case PlaceKind::Checksums:
            checksumSectors.insert(offset / kRawSectorSize);
            break;
        case PlaceKind::Other:
            ++otherBytes;
            otherSectors.insert(offset / kRawSectorSize);
            break;
        case PlaceKind::Type:
        case PlaceKind::Palette:
        case PlaceKind::Name:
            teams[place.team].insert(place.kind);
            break;
    }
}

const char* placeWord(PlaceKind kind) {
    switch (kind) {
        case PlaceKind::Type:
            return "tipo";
        case PlaceKind::Palette:
            return "tavolozza";
        case PlaceKind::Name:
            return "nome";
        case PlaceKind::Nets:
            return "reti";
        case PlaceKind::Checksums:
            return "EDC/ECC";
        case PlaceKind::Other:
            break;
    }
    return "altro";
}

}  // namespace tavrel
