// The catalog's drawings and names, from the design file compiled into the program.
#include <algorithm>
#include <charconv>
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

// The designs' titles from their "design <id> <size> <title>" lines alone, without working out
// any drawing: the main window names the design it shows as it starts, and never draws one.
std::vector<std::string> readCatalogNames() {
    std::vector<std::string> names(static_cast<std::size_t>(kCatalogSize));
    constexpr std::string_view kHead = "design ";
    for (std::size_t at = 0; at < kDesignFileText.size();) {
        const std::size_t end = std::min(kDesignFileText.find('\n', at), kDesignFileText.size());
        std::string_view line = kDesignFileText.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(kHead))
            continue;
        line.remove_prefix(kHead.size());
        int id = 0;
        const auto [afterId, error] = std::from_chars(line.data(), line.data() + line.size(), id);
        const std::size_t size =
            line.find_first_not_of(' ', static_cast<std::size_t>(afterId - line.data()));
        const std::size_t title = line.find_first_not_of(' ', line.find(' ', size));
        if (error != std::errc() || !isCatalogId(id) || title == std::string_view::npos)
            continue;
        line = line.substr(title);
        names[static_cast<std::size_t>(id - kFirstCatalogId)] =
            line.substr(0, line.find_last_not_of(" \r") + 1);
    }
    return names;
}

}  // namespace

const DesignDrawing& catalogDrawing(int id) {
    static const std::vector<DesignDrawing> drawings = readCatalogDrawings();
    if (!isCatalogId(id))
        throw std::out_of_range("catalog id " + std::to_string(id) + " outside 101..235");
    return drawings[static_cast<std::size_t>(id - kFirstCatalogId)];
}

std::string_view catalogName(int id) {
    static const std::vector<std::string> names = readCatalogNames();
    if (!isCatalogId(id))
        throw std::out_of_range("catalog id " + std::to_string(id) + " outside 101..235");
    return names[static_cast<std::size_t>(id - kFirstCatalogId)];
}

}  // namespace tavrel
