// Which catalog designs a flag is: every design equal to it, or, for a flag of its own, the
// design of its type whose colours are nearest, whose drawing then shows it.
#pragma once

#include <optional>
#include <vector>

#include "game/flag.h"

namespace tavrel {

struct FlagMatch {
    std::vector<int> equalDesigns;     // catalog ids of the designs with the flag's type and
                                       // colours, lowest first; empty for a flag of its own
    std::optional<int> nearestDesign;  // for a flag of its own: the design of its type whose
                                       // colours are nearest; none when no design has that type
    // The design whose drawing shows the flag: the first equal one, else the nearest.
    std::optional<int> drawingDesign() const;
};

FlagMatch matchFlag(const Flag& flag);

// How far apart two flags' colours are: the squared straight-line distance between their
// palettes taken as points whose coordinates are the red, green and blue (0..31) of the fifteen
// words; that is, the sum over the words of each word's squared distance in colour space, the
// usual measure of how far apart two colours are. In whole 5-bit levels, as the game stores
// them, so the sums are exact and the choice never hangs on rounding. Bit 15 does not count:
// it does not change the colour.
int colourDistance(const Flag& a, const Flag& b);

// The design of `flag`'s type with the least colourDistance, the lowest id among equals; none
// when no design has that type.
std::optional<int> nearestDesign(const Flag& flag);

}  // namespace tavrel
