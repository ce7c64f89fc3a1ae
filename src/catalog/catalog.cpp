#include "catalog/catalog.h"

#include <stdexcept>

namespace tavrel {

// Placeholder until the catalog data lands: every id gives the first design.
std::string_view catalogRecord(int id) {
    if (id < kFirstCatalogId || id > kLastCatalogId) throw std::out_of_range("catalog id");
    return "00BD F7 18 E3 B9 98 B9 98 BD F7 18 E3 18 E3 18 E3 B9 98 B9 98 B9 98 B9 98 B9 98 00 80 00 80";
}

}  // namespace tavrel
