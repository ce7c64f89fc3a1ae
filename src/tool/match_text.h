// How teams and show name the designs a flag is, in a line and in JSON.
#pragma once

#include <string>

#include "catalog/flag_match.h"

namespace tavrel::tool {

// "N° 82 Italy, N° 110 Hungary"; for a flag of its own "personalizzata (la più vicina: N° 82
// Italy)", or "personalizzata (nessun disegno del suo tipo)".
std::string matchText(const FlagMatch& match);

// The JSON members `"designs": [82, 110], "names": ["Italy", "Hungary"], "nearest": null`: the
// N° and name of each equal design, and for a flag of its own the N° of the nearest.
std::string matchJson(const FlagMatch& match);

}  // namespace tavrel::tool
