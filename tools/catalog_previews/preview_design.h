// The drawing of one catalog preview, as read from the design file: a size, the colours it
// may use (each one of the design's fifteen record colours) and shapes painted in order.
#pragma once

#include <istream>
#include <map>
#include <string>
#include <vector>

namespace tavrel::previews {

// One painting step. Coordinates are pixels from the top-left corner, fractions allowed; a
// shape paints the pixels it covers at least half of.
struct Shape {
    std::string kind;  // fill, hbands, vbands, rect, poly, disc, ellipse, ring, line,
                       // star, sun, checks
    std::vector<double> numbers;
    std::vector<int> slots;       // record colours used, 1..15, in the order the kind takes them
    std::vector<double> weights;  // hbands / vbands only: one per slot
};

struct PreviewDesign {
    int id = 0;
    int width = 0;
    int height = 0;
    std::string title;
    std::map<std::string, int> colourSlots;  // name in the file -> record colour 1..15
    std::vector<Shape> shapes;
};

// Reads every design of a design file. Throws std::runtime_error naming the line of the first
// mistake, so a broken file never renders half a catalog.
std::vector<PreviewDesign> readDesigns(std::istream& in);

}  // namespace tavrel::previews
