// The drawing of a catalog design, as data/designs.txt describes it (the file's head explains
// the language): a size, the colours it uses (each one of the design's fifteen colours) and
// shapes painted in order. The file is compiled into the program.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// One painting step. Coordinates are pixels from the top-left corner, fractions allowed; a
// shape paints the pixels it covers at least half of.
struct Shape {
    std::string kind;  // fill, hbands, vbands, rect, poly, disc, ellipse, ring, line,
                       // star, sun, checks
    std::vector<double> numbers;
    std::vector<int> slots;       // colours used, 1..15, in the order the kind takes them
    std::vector<double> weights;  // hbands / vbands only: one per slot
};

struct DesignDrawing {
    int id = 0;
    int width = 0;
    int height = 0;
    std::string title;
    std::map<std::string, int> colourSlots;  // name in the file -> colour 1..15
    std::vector<Shape> shapes;
};

// Every design of a design file's text. Throws std::runtime_error naming the line of the first
// mistake, so a broken file never draws half a catalog.
std::vector<DesignDrawing> readDesigns(std::string_view text);

// The drawing of catalog design `id`, from the compiled-in file, read once. Throws
// std::out_of_range for an id outside 101..235.
const DesignDrawing& catalogDrawing(int id);

}  // namespace tavrel
