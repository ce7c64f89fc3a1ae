// The catalog's drawings and names, from the design file compiled into the program.
#include <algorithm>
#include <stdexcept>
#include <string>

#include "catalog/catalog.h"
#include "catalog/design_drawing.h"

namespace tavrel {

// data/designs.txt as it was when the program was built (designs_text.cpp, made by the build).
extern const std::string_view kDesignFileText;

namespace {

// Every design in id order. A file that misses an id or gives one twice is a fault of the
// build, never of what a user did.
std::vector<DesignDrawing> readCatalogDrawings() {
    std::vector<DesignDrawing> designs = readDesigns(kDesignFileText);
    std::ranges::sort(designs, {}, &DesignDrawing::id);
    for (std::size_t i = 0; i < designs.size(); ++i) {
        if (designs[i].id != kFirstCatalogId + static_cast<int>(i))
            throw std::logic_error("the design file lacks or repeats design " +
                                   std::to_string(kFirstCatalogId + static_cast<int>(i)));
    }
    if (designs.size() != static_cast<std::size_t>(kCatalogSize))
        throw std::logic_error("the design file does not hold every catalog design");
    return designs;
}

}  // namespace

const DesignDrawing& catalogDrawing(int id) {
    static const std::vector<DesignDrawing> drawings = readCatalogDrawings();
    if (!isCatalogId(id))
        throw std::out_of_range("catalog id " + std::to_string(id) + " outside 101..235");
    return drawings[static_cast<std::size_t>(id - kFirstCatalogId)];
}

std::string_view catalogName(int id) {
    return catalogDrawing(id).title;
}

}  // namespace tavrel
