// One step through the catalog, clamped at both ends.
#include "catalog/catalog_browse.h"

#include "catalog/catalog.h"

namespace tavrel {

void stepForward(std::int16_t& catalogId, std::int16_t& catalogPosition) {
    if (catalogId < kLastCatalogId)
        ++catalogId;
    if (catalogPosition < kCatalogSize)
        ++catalogPosition;
}

void stepBack(std::int16_t& catalogId, std::int16_t& catalogPosition) {
    if (catalogId > kFirstCatalogId)
        --catalogId;
    if (catalogPosition > 1)
        --catalogPosition;
}

void resetToFirst(std::int16_t& catalogId, std::int16_t& catalogPosition) {
    catalogId = kFirstCatalogId;
    catalogPosition = 1;
}

std::string positionText(std::int16_t catalogPosition) {
    return std::to_string(catalogPosition);
}

}  // namespace tavrel
