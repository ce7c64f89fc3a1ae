// Naming the designs a flag is.
#include "tool/match_text.h"

#include "catalog/catalog.h"
#include "tool/tool_text.h"

namespace tavrel::tool {
namespace {

std::string designText(int id) {
    return "N° " + std::to_string(catalogPosition(id)) + " " + std::string(catalogName(id));
}

}  // namespace

std::string matchText(const FlagMatch& match) {
    std::string text;
    for (const int id : match.equalDesigns) text += (text.empty() ? "" : ", ") + designText(id);
    if (!text.empty())
        return text;
    return "personalizzata (" +
           (match.nearestDesign ? "la più vicina: " + designText(*match.nearestDesign)
                                : std::string("nessun disegno del suo tipo")) +
           ")";
}

std::string matchJson(const FlagMatch& match) {
    std::vector<int> numbers;
    std::string names;
    for (const int id : match.equalDesigns) {
        numbers.push_back(catalogPosition(id));
        names += (names.empty() ? "" : ", ") + json(catalogName(id));
    }
    return "\"designs\": [" + joined(numbers, ", ") + "], \"names\": [" + names +
           "], \"nearest\": " +
           (match.nearestDesign ? std::to_string(catalogPosition(*match.nearestDesign)) : "null");
}

}  // namespace tavrel::tool
