// Finding a flag among the catalog's designs.
#include "catalog/flag_match.h"

#include "catalog/catalog.h"
#include "game/colour_word.h"

namespace tavrel {

std::optional<int> FlagMatch::drawingDesign() const {
    return equalDesigns.empty() ? nearestDesign : std::optional(equalDesigns.front());
}

int colourDistance(const Flag& a, const Flag& b) {
    int sum = 0;
    for (int k = 1; k <= kColourCount; ++k) {
        const Rgb5 x = colourOf(colourWord(a, k));
        const Rgb5 y = colourOf(colourWord(b, k));
        for (const int d : {x.red - y.red, x.green - y.green, x.blue - y.blue}) sum += d * d;
    }
    return sum;
}

std::optional<int> nearestDesign(const Flag& flag) {
    std::optional<int> nearest;
    int least = 0;
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        const Flag design = catalogFlag(id);
        if (design.type != flag.type)
            continue;
        const int distance = colourDistance(flag, design);
        if (!nearest || distance < least) {
            nearest = id;
            least = distance;
        }
    }
    return nearest;
}

FlagMatch matchFlag(const Flag& flag) {
    FlagMatch match;
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        if (catalogFlag(id) == flag)
            match.equalDesigns.push_back(id);
    }
    if (match.equalDesigns.empty())
        match.nearestDesign = nearestDesign(flag);
    return match;
}

}  // namespace tavrel
