// Draws a flag: a design's drawing in any fifteen colours, into pixels. Drawing is done in two
// steps, so that a colour change costs only the second: which of the fifteen colours each
// pixel takes (the drawing's shapes, worked out once per design), then those colours as a
// screen shows them. One colour per pixel, no blending: every pixel is exactly one of the
// flag's colours, and a pixel whose word is 0000 is transparent, as on the console.
#pragma once

#include <cstdint>
#include <vector>

#include "catalog/design_drawing.h"
#include "catalog/flag_picture.h"
#include "game/colour_word.h"
#include "game/flag.h"

namespace tavrel {

// Which colour (1..15) each pixel of a drawing takes, row by row, top row first.
struct ColourMap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> colours;
    int at(int x, int y) const { return colours[static_cast<std::size_t>(y * width + x)]; }
};

// The pixel a colour word shows as.
Rgba8 pixelOf(std::uint16_t word);

// Works out the drawing's shapes. Throws std::runtime_error when a pixel is left unpainted (a
// fault of the design file: it would show a colour the flag does not have).
ColourMap mapColours(const DesignDrawing& drawing);

// The map in the flag's colours, each pixel enlarged to `scale` x `scale` (1..kMaxScale) for
// crisp pixels at any whole size. Throws std::out_of_range for another scale.
inline constexpr int kMaxScale = 64;
FlagPicture paintFlag(const ColourMap& map, const Flag& flag, int scale = 1);

}  // namespace tavrel
