// Is this the game? Checked once before the first write into an opened image, so that Tavrel's
// two hundred bytes never land in another disc, a dump of the wrong game, or a file of zeros
// without the user's say: the team names read as names at their places, the goal-net bytes
// hold one of their two patterns, and a volume descriptor, where sector 16 holds one, says the
// disc is one of Mode 2 sectors made for a console. Facts only; front ends word them.
#pragma once

#include <cstdint>
#include <optional>

#include "game/game_places.h"

namespace tavrel {

class ImageFile;

// How many of the 86 teams' names must read as names. A mod may rename a few teams with codes
// outside the letters (digits, accents); any other file gives next to none (each name opens
// with one of 52 letter codes out of 65536 by chance), so the line between is wide: this one
// leaves room for six renamed teams.
inline constexpr int kNamedTeamsNeeded = 80;

struct GameCheck {
    enum class Volume {
        Absent,      // sector 16 holds no volume descriptor (the demo image, a bare dump)
        ForConsole,  // Mode 2 sectors and the CD-XA mark
        Other,       // a computer's CD-ROM or another kind of disc
    };
    int namedTeams = 0;              // of kTeamCount
    std::optional<NetPattern> nets;  // none when the bytes hold neither pattern
    Volume volume = Volume::Absent;
    std::int64_t size = 0;  // of the file
    bool tooShort = false;  // the file ends before the game's last place

    bool passes() const {
        return !tooShort && namedTeams >= kNamedTeamsNeeded && nets && volume != Volume::Other;
    }
};

// Reads the places the check needs; throws FileError only when the file cannot be read.
GameCheck checkGame(const ImageFile& file);

}  // namespace tavrel
