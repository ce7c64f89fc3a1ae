// A plan: many flags for one run of "apply". One "TEAM DESIGN-or-FILE" per line, then, as on
// the command line, any "--colour K=#RRGGBB" or "--colour K=WORD" and one "--type XX"; "#"
// starts a comment (but for the '#' of a colour, right after its '='), blank lines are
// allowed, a team label or file name with blanks is written in double quotes, and a relative
// file name is relative to the plan's folder. A whole number names a design (1..135), a flag
// record in quotes ("0A BD F7 ...", as in a .flg file) that flag; anything else a .flg file
// ("./12" for a file named 12).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "game/game_image.h"

namespace tavrel::tool {

struct Plan {
    std::vector<TeamFlag> flags;
    std::vector<std::string> errors;  // one per bad line: "riga 3: squadra sconosciuta ..."
};

// Checks every line: the team exists, the design exists, the file holds a flag record, the
// colours and type are well formed (and colours are given only to a team that has them), no
// team comes twice. Design 158 gives Parma (76) the type 38, as the window's "Salva" does.
Plan readPlan(const std::string& text, const std::string& folder);

// The flag held by the first line of a .flg file; throws FileError when it cannot be read,
// and returns no flag (and why in `why`) when the line is not a flag record.
std::optional<Flag> fileFlag(const std::string& path, std::string& why);

}  // namespace tavrel::tool
