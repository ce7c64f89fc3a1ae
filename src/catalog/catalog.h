// The built-in catalog of 135 flag designs, keyed by catalog id 101..235. Each design has a
// flag record (type code and fifteen colour words as text) and a preview bitmap, which the
// window loads from its resources as ":/previews/<id>.bmp".
#pragma once

#include <string_view>

namespace tavrel {

inline constexpr int kFirstCatalogId = 101;
inline constexpr int kLastCatalogId = 235;
inline constexpr int kCatalogSize = kLastCatalogId - kFirstCatalogId + 1;

// The record of design `id` exactly as stored: 91 characters, or 92 where it carries the
// trailing blank that no reader uses. Throws std::out_of_range for an id outside 101..235.
std::string_view catalogRecord(int id);

}  // namespace tavrel
