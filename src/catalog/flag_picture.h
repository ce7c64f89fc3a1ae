// A picture as the renderer draws it: RGBA pixels, row by row. Apart from the renderer so that
// a window can take pictures without the drawings' types.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrel {

// One pixel: red, green, blue and alpha in this order in memory (Qt's Format_RGBA8888), alpha
// 0 (and the colour black) where the word is transparent, 255 elsewhere.
struct Rgba8 {
    std::uint8_t red = 0, green = 0, blue = 0, alpha = 0;
    friend bool operator==(const Rgba8&, const Rgba8&) = default;
};

struct FlagPicture {
    int width = 0;
    int height = 0;
    std::vector<Rgba8> pixels;  // row by row, top row first, no padding
    Rgba8 at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

}  // namespace tavrel
