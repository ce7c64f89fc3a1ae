#!/usr/bin/env python3
"""Draws the program's icon, a white flag with a blue cross whose upright bar stands left of
centre on a grey pole, into the hicolor theme's sizes: draw_icons.py ICONS_DIR writes
ICONS_DIR/hicolor/NxN/apps/tavrel.png. Every shape is a rectangle on whole pixels, so each size
is crisp. 16 and 32 pixels are placed by hand; the other sizes scale the 32-pixel drawing, each
edge rounded to a pixel, the cloth's outline kept at least one pixel wide.
"""

import os
import struct
import sys
import zlib

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
GREY, BLACK, WHITE, BLUE = (128, 128, 128), (0, 0, 0), (255, 255, 255), (0, 0, 255)

# Hand-placed: (pole, cloth, upright bar's left and right, cross bar's top and bottom, outline),
# rectangles as (left, top, right, bottom), edges between pixels.
DRAWINGS = {
    16: ((1, 1, 2, 15), (2, 2, 15, 11), (6, 8), (6, 8), 1),
    32: ((3, 2, 5, 30), (5, 4, 30, 22), (12, 16), (11, 15), 1),
}


def scaled(size):
    def edge(value):
        return int(value * size / 32 + 0.5)
    pole, cloth, upright, cross, _ = DRAWINGS[32]
    return (tuple(map(edge, pole)), tuple(map(edge, cloth)), tuple(map(edge, upright)),
            tuple(map(edge, cross)), max(1, edge(1)))


def pixels(size):
    """Rows of RGBA pixels; transparent where nothing is drawn."""
    pole, cloth, upright, cross, outline = DRAWINGS.get(size) or scaled(size)
    left, top, right, bottom = cloth
    inner = (left + outline, top + outline, right - outline, bottom - outline)
    shapes = [(pole, GREY), (cloth, BLACK), (inner, WHITE),
              ((upright[0], inner[1], upright[1], inner[3]), BLUE),
              ((inner[0], cross[0], inner[2], cross[1]), BLUE)]
    image = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for (x0, y0, x1, y1), colour in shapes:
        for y in range(y0, y1):
            image[y][x0:x1] = [colour + (255,)] * (x1 - x0)
    return image


def png(image):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    size = len(image)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in image)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    for size in SIZES:
        folder = os.path.join(sys.argv[1], "hicolor", f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "tavrel.png"), "wb") as writer:
            writer.write(png(pixels(size)))


if __name__ == "__main__":
    main()
