#!/usr/bin/env python3
"""Reads an 8-bit RGBA PNG file with Python's own zlib, checking every chunk's CRC, and writes
its pixels: width and height as 32-bit little-endian numbers, then R G B A a pixel, rows top
first. Only rows without a filter are read, as Tavrel writes them.
Usage: read_png.py IN.png OUT.rgba"""
import struct
import sys
import zlib

data, at, idat = open(sys.argv[1], "rb").read(), 8, b""
assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
while at < len(data):
    length, kind = struct.unpack(">I4s", data[at:at + 8])
    body = data[at + 8:at + 8 + length]
    assert struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0] == zlib.crc32(kind + body)
    if kind == b"IHDR":
        width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        assert (depth, colour, interlace) == (8, 6, 0), "not 8-bit RGBA, not interlaced"
    idat += body if kind == b"IDAT" else b""
    at += 12 + length
raw, stride = zlib.decompress(idat), 1 + 4 * width
assert len(raw) == height * stride and all(raw[y * stride] == 0 for y in range(height))
rows = b"".join(raw[y * stride + 1:(y + 1) * stride] for y in range(height))
open(sys.argv[2], "wb").write(struct.pack("<II", width, height) + rows)
