// Lookup of a catalog design's stored record by its id.
#include "catalog/catalog.h"

#include <stdexcept>
#include <string>

#include "catalog/catalog_records.h"

namespace tavrel {

std::string_view catalogRecord(int id) {
    if (id < kFirstCatalogId || id > kLastCatalogId) {
        throw std::out_of_range("catalog id " + std::to_string(id) + " outside 101..235");
    }
    return kCatalogRecords[static_cast<std::size_t>(id - kFirstCatalogId)];
}

}  // namespace tavrel
