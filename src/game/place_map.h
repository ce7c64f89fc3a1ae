// Which of the game's places a byte of the image belongs to: a team's slot in a type-table
// copy, its palette or its name, the goal nets; otherwise the checksum bytes at the end of a
// sector, or nothing of the game's. And a tally of many bytes by team and place, to say what a
// patch or a difference between two images touches.
#pragma once

#include <cstdint>
#include <map>
#include <set>

namespace tavrel {

enum class PlaceKind { Type, Palette, Name, Nets, Checksums, Other };

struct Place {
    PlaceKind kind = PlaceKind::Other;
    int team = -1;  // none for the nets, checksums, other bytes and the unlisted type slots
};

Place placeAt(std::int64_t offset);

// The word both front ends name a place with: "tipo", "tavolozza", "nome", "reti", "EDC/ECC",
// "altro"; the same as the change log's names of changes, in Italian.
const char* placeWord(PlaceKind kind);

struct PlaceTally {
    std::map<int, std::set<PlaceKind>> teams;  // by team; -1 gathers the unlisted type slots
    bool nets = false;
    std::set<std::int64_t> checksumSectors;
    std::int64_t otherBytes = 0;
    std::set<std::int64_t> otherSectors;

    void add(std::int64_t offset);
    bool empty() const { return teams.empty() && !nets && checksumSectors.empty() && !otherBytes; }
};

}  // namespace tavrel
