#include "bitmap_reader.h"

#include <stdexcept>

namespace tavrel::testing {
namespace {

std::uint32_t read32(const std::vector<std::uint8_t>& f, std::size_t at) {
    return static_cast<std::uint32_t>(f[at] | f[at + 1] << 8 | f[at + 2] << 16) |
           static_cast<std::uint32_t>(f[at + 3]) << 24;
}

std::uint16_t read16(const std::vector<std::uint8_t>& f, std::size_t at) {
    return static_cast<std::uint16_t>(f[at] | f[at + 1] << 8);
}

void require(bool condition, const char* what) {
    if (!condition)
        throw std::runtime_error(what);
}

}  // namespace

Bitmap readPreviewBitmap(const std::vector<std::uint8_t>& file) {
    require(file.size() >= 54, "shorter than the two headers");
    require(file[0] == 'B' && file[1] == 'M', "no BM signature");
    require(read32(file, 2) == file.size(), "file size field disagrees with the file");
    require(read32(file, 14) == 40, "not a 40-byte info header");
    const auto width = static_cast<std::int32_t>(read32(file, 18));
    const auto height = static_cast<std::int32_t>(read32(file, 22));
    require(width > 0, "no width");
    require(height > 0, "not bottom-up (height must be positive)");
    require(read16(file, 26) == 1, "planes must be 1");
    require(read16(file, 28) == 24, "not 24 bits per pixel");
    require(read32(file, 30) == 0, "compressed");
    require(read32(file, 46) == 0, "has a colour table");
    const std::size_t offset = read32(file, 10);
    require(offset == 54, "pixels do not follow the headers");
    const std::size_t rowSize = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    require(file.size() == offset + rowSize * static_cast<std::size_t>(height),
            "pixel data is not exactly the padded rows");

    Bitmap bitmap{width, height, std::vector<Rgb8>(static_cast<std::size_t>(width * height))};
    for (int row = 0; row < height; ++row) {
        const std::size_t start = offset + static_cast<std::size_t>(row) * rowSize;
        const int y = height - 1 - row;  // the first stored row is the bottom one
        for (int x = 0; x < width; ++x) {
            const std::size_t p = start + static_cast<std::size_t>(x) * 3;
            bitmap.pixels[static_cast<std::size_t>(y * width + x)] = {file[p + 2], file[p + 1],
                                                                      file[p]};
        }
    }
    return bitmap;
}

}  // namespace tavrel::testing
