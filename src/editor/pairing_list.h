// The pairing list: the design each team was given by "Salva" since the list was last emptied,
// one line per team ("Italy Bandiera N° 58"), in the order of saving. It is the user's record
// of the mod, so it follows the image: a save that an undo takes back takes its line back too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

class PairingList {
public:
    // `team` was given the design at catalog position `position` by the logged change
    // `change` (none when the save was not logged, and so cannot be undone): the team's line,
    // in place of any line it had, goes to the end.
    void add(int team, int position, std::optional<std::uint64_t> change);
    // The change `change` was taken back: when it was a save listed here, its team's line is
    // given back as it was before it (or taken out, when the team had none).
    void takeBack(std::uint64_t change);
    // Empties the list; saves made before can no longer change it.
    void clear();

    std::vector<std::string> lines() const;

private:
    struct Line {
        int team;
        int position;
    };
    struct Save {
        std::uint64_t change;
        int team;
        std::optional<Line> before;
        std::size_t beforeAt;  // where that line stood
    };

    std::optional<std::size_t> find(int team) const;

    std::vector<Line> lines_;
    std::vector<Save> saves_;
};

}  // namespace tavrel
