// The content of the demo image, for the demo tool and its tests.
#pragma once

#include "catalog/catalog.h"
#include "image/file_error.h"

namespace tavrel {

// Team i wears design 101 + i: the demo starts with 86 different flags.
constexpr int demoDesign(int team) {
    return kFirstCatalogId + team;
}

// A whole raw image of the game's size, as the demo tool writes it.
Bytes demoImage();

}  // namespace tavrel
