// Lookup of a catalog design by its id.
#include "catalog/catalog.h"

#include <stdexcept>
#include <string>

#include "catalog/catalog_records.h"
#include "game/flag_record.h"

namespace tavrel {
namespace {

constexpr int kParma = 76;
constexpr int kParmaDesign = 158;
constexpr std::uint8_t kParmaDesignType = 0x38;

}  // namespace

std::string_view catalogRecordText(int id) {
    if (!isCatalogId(id))
        throw std::out_of_range("catalog id " + std::to_string(id) + " outside 101..235");
    return kCatalogRecords[static_cast<std::size_t>(id - kFirstCatalogId)];
}

Flag catalogFlag(int id) {
    const ParsedRecord parsed = parseFlagRecord(catalogRecordText(id));
    if (!parsed.flag)
        throw std::logic_error("catalog record " + std::to_string(id) + " is malformed");
    return *parsed.flag;
}

Flag flagForTeam(Flag flag, int team, int catalogId) {
    if (team == kParma && catalogId == kParmaDesign)
        flag.type = kParmaDesignType;
    return flag;
}

}  // namespace tavrel
