#include "bmp_file.h"

namespace tavrel::previews {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void put16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

std::uint8_t widen(std::uint8_t channel) {
    return static_cast<std::uint8_t>(channel << 3 | channel >> 2);
}

}  // namespace

Bytes encodeBmp(const Raster& raster) {
    const auto width = static_cast<std::uint32_t>(raster.width);
    const auto height = static_cast<std::uint32_t>(raster.height);
    const std::uint32_t rowSize = (width * 3 + 3) / 4 * 4;  // rows pad to whole 32-bit words
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;
    const std::uint32_t imageSize = rowSize * height;

    Bytes out;
    out.reserve(pixelOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + imageSize);
    put32(out, 0);  // reserved
    put32(out, pixelOffset);

    put32(out, kInfoHeaderSize);
    put32(out, width);
    put32(out, height);  // positive height: the bottom row comes first
    put16(out, 1);       // planes
    put16(out, 24);      // bits per pixel
    put32(out, 0);       // no compression
    put32(out, imageSize);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0);  // colours used: none, there is no colour table
    put32(out, 0);  // important colours

    for (int y = raster.height - 1; y >= 0; --y) {
        for (int x = 0; x < raster.width; ++x) {
            const Rgb5 c = raster.at(x, y);
            out.push_back(widen(c.blue));
            out.push_back(widen(c.green));
            out.push_back(widen(c.red));
        }
        for (std::uint32_t pad = width * 3; pad < rowSize; ++pad) out.push_back(0);
    }
    return out;
}

}  // namespace tavrel::previews
