// The stored text of the 135 catalog records, in id order: element 0 is design 101.
#pragma once

#include <array>
#include <string_view>

#include "catalog/catalog.h"

namespace tavrel {

extern const std::array<std::string_view, kCatalogSize> kCatalogRecords;

}  // namespace tavrel
