// Reads a preview file the way a bitmap loader does, independently of the tool that writes
// them, so the tests check the format itself rather than the writer's idea of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel::testing {

struct Rgb8 {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend auto operator<=>(const Rgb8&, const Rgb8&) = default;
};

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Rgb8> pixels;  // top row first
    friend auto operator<=>(const Bitmap&, const Bitmap&) = default;
};

// Accepts only an uncompressed 24-bit bottom-up bitmap with a 40-byte info header and no
// colour table; anything else throws std::runtime_error saying what is wrong.
Bitmap readPreviewBitmap(const std::vector<std::uint8_t>& file);

}  // namespace tavrel::testing
