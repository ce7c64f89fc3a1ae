// The game as stored in one open image: team names, flags and the goal-net pattern. It knows
// the team table, the five type-table copies and the split palettes; front ends speak of teams
// and flags, never of sectors or offsets. Every write is planned first (every place read, and
// so checked to lie inside the file, and the image checked to be one that may be written),
// then applied as a whole and synced before it returns.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "game/flag.h"
#include "game/game_places.h"
#include "image/image_edit.h"

namespace tavrel {

class ImageSession;

struct TeamFlag {
    int team = 0;
    Flag flag;
};

class GameImage {
public:
    explicit GameImage(ImageSession& session) : session_(session) {}

    // The team's name as the image stores it, decoded (both pieces for team 4).
    std::string teamName(int team) const;

    // The team's type byte, from the first type-table copy.
    std::uint8_t readType(int team) const;
    // The team's type and palette; the team must have a palette (hasPalette).
    Flag readFlag(int team) const;

    // The edit that gives each team its flag: the team's slot in every type-table copy, each
    // copy written back whole with its other bytes as read, and the palette where the team has
    // one (teams without a palette get only the type). A team listed twice gets its last flag.
    ImageEdit planFlags(std::span<const TeamFlag> flags) const;
    ImageEdit planFlag(int team, const Flag& flag) const;

    // The stored net pattern; none when the two bytes hold neither known value.
    std::optional<NetPattern> nets() const;
    ImageEdit planNets(NetPattern pattern) const;

    // Writes a planned edit through the image's change log: all of it and synced, or
    // (FileError) none of it.
    void apply(const ImageEdit& edit);

    void writeFlag(int team, const Flag& flag) { apply(planFlag(team, flag)); }
    void setNets(NetPattern pattern) { apply(planNets(pattern)); }

private:
    const ImageFile& file() const;

    ImageSession& session_;
};

}  // namespace tavrel
