// The pictures the flag window draws: a flag's preview and the colour swatches, with the
// colour the console leaves transparent (word 0000) shown as a grey checkerboard, as picture
// editors show transparency. Every pixel comes out opaque.
#pragma once

#include <cstdint>

#include "catalog/flag_picture.h"

namespace tavrel {

// A checkerboard square is as large as one pixel of the preview's drawing.
inline constexpr int kCheckerCell = 4;
inline constexpr Rgba8 kCheckerLight{0xC8, 0xC8, 0xC8, 0xFF};
inline constexpr Rgba8 kCheckerDark{0x80, 0x80, 0x80, 0xFF};

// `picture` with its transparent pixels replaced by the checkerboard.
FlagPicture onCheckerboard(FlagPicture picture);

// `width` x `height` pixels of the word's colour, inside a one-pixel black border that keeps a
// colour near the window's own apart from it.
FlagPicture swatchPicture(std::uint16_t word, int width, int height);

}  // namespace tavrel
