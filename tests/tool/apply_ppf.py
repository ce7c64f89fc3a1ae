#!/usr/bin/env python3
"""Applies a PPF 3.0 patch to an image, as a patcher would: an applier of its own, to check the
patches tavrel-tool writes. Usage: apply_ppf.py PATCH IMAGE"""
import struct
import sys

with open(sys.argv[1], "rb") as reader:
    patch = reader.read()
assert patch[:5] == b"PPF30" and patch[5] == 2, "not a PPF 3.0 patch"
undo = patch[58] == 1
at = 60
with open(sys.argv[2], "r+b") as image:
    while at < len(patch):
        offset, length = struct.unpack_from("<QB", patch, at)
        at += 9
        image.seek(offset)
        image.write(patch[at:at + length])
        at += length * (2 if undo else 1)
