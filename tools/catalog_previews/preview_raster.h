// Paints a preview design in the colours of its catalog record, one colour per pixel and no
// blending, so every pixel is exactly one of the record's colours.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "preview_design.h"

namespace tavrel::previews {

// A colour word's colour: 5 bits per channel, bit 15 of the word left out.
struct Rgb5 {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb5&, const Rgb5&) = default;
};

Rgb5 colourOfWord(std::uint16_t word);

// The fifteen colour words of a flag record, low byte first as stored.
std::array<std::uint16_t, 15> colourWordsOf(std::string_view record);

struct Raster {
    int width = 0;
    int height = 0;
    std::vector<Rgb5> pixels;  // row by row, top row first
    Rgb5 at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Raster renderPreview(const PreviewDesign& design, std::string_view record);

}  // namespace tavrel::previews
