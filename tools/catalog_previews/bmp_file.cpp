// Writing a preview bitmap.
#include "bmp_file.h"

#include "catalog/catalog.h"

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

}  // namespace

Bytes encodeBmp(const FlagPicture& picture) {
    const auto width = static_cast<std::uint32_t>(picture.width);
    const auto height = static_cast<std::uint32_t>(picture.height);
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

    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgba8 c = picture.at(x, y);
            out.push_back(c.blue);
            out.push_back(c.green);
            out.push_back(c.red);
        }
        for (std::uint32_t pad = width * 3; pad < rowSize; ++pad) out.push_back(0);
    }
    return out;
}

FlagPicture catalogPreview(int id) {
    return paintFlag(mapColours(catalogDrawing(id)), catalogFlag(id));
}

}  // namespace tavrel::previews
