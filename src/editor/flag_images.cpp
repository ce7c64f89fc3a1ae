// Previews and swatches as the flag window shows them.
#include "editor/flag_images.h"

#include "catalog/flag_renderer.h"

namespace tavrel {

FlagPicture onCheckerboard(FlagPicture picture) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            Rgba8& pixel = picture.pixels[static_cast<std::size_t>(y * picture.width + x)];
            if (pixel.alpha == 0)
                pixel =
                    (x / kCheckerCell + y / kCheckerCell) % 2 == 0 ? kCheckerLight : kCheckerDark;
        }
    }
    return picture;
}

FlagPicture swatchPicture(std::uint16_t word, int width, int height) {
    const Rgba8 colour = pixelOf(word);
    FlagPicture swatch{width, height, std::vector<Rgba8>(static_cast<std::size_t>(width * height))};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool border = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            swatch.pixels[static_cast<std::size_t>(y * width + x)] =
                border ? Rgba8{0, 0, 0, 0xFF} : colour;
        }
    }
    return onCheckerboard(std::move(swatch));
}

}  // namespace tavrel
