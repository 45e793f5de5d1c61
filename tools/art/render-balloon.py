#!/usr/bin/env python3
"""Render the speech balloon's bitmaps (resources 149, 151 and 159) from art/balloon/.

Usage: render-balloon.py   (needs rsvg-convert from Debian's librsvg2-bin)

Each SVG is rendered by rsvg-convert, and every pixel is then mapped to the nearest colour
of a fixed 16-colour palette, so the fill, the edge shades and the surround keep their exact
values, and the result is written as a 4-bit Windows BMP to res/. Only the Python 3 standard
library is used besides rsvg-convert.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))

# The palette of all three pictures: surround, edge shades, fills, paw print and the mark.
PALETTE = [
    (0x5D, 0x51, 0x58), (0x6B, 0x60, 0x66), (0xA8, 0x9A, 0xA2), (0xE6, 0xDA, 0xE1),
    (0xFC, 0xF8, 0xF5), (0xFA, 0xF5, 0xF2), (0xF2, 0xE9, 0xEE), (0x80, 0x80, 0xFF),
    (0xB5, 0xB5, 0xFF), (0xFF, 0xFF, 0xFF), (0x9A, 0x9A, 0xFF), (0xD8, 0xD8, 0xFF),
    (0x88, 0x7B, 0x82), (0xC7, 0xBA, 0xC1), (0xF4, 0xEE, 0xF0), (0x00, 0x00, 0x00),
]

JOBS = [("balloon-left.svg", "balloon-left.bmp"), ("balloon-right.svg", "balloon-right.bmp"),
        ("mark.svg", "balloon-mark.bmp")]


def read_rgba_png(path):
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour in (2, 6), "rsvg-convert writes 8-bit RGB or RGBA"
            bpp = 4 if colour == 6 else 3
        elif kind == b"IDAT":
            idat += body
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 0xFF
        rows.append(bytes(line[k] for k in range(stride) if k % bpp < 3))
        prev = line
    return width, height, rows


def nearest(rgb):
    return min(range(len(PALETTE)), key=lambda k: sum((x - y) ** 2 for x, y in zip(PALETTE[k], rgb)))


def write_bmp4(path, width, height, indices):
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray(stride)
        for x in range(width):
            value = indices[y][x]
            row[x // 2] |= value << 4 if x % 2 == 0 else value
        pixels += row
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    with open(path, "wb") as f:
        f.write(header + info + table + pixels)


def main():
    with tempfile.TemporaryDirectory() as tmp:
        for svg, bmp in JOBS:
            png = os.path.join(tmp, "out.png")
            subprocess.run(["rsvg-convert", "-o", png, os.path.join(ROOT, "art", "balloon", svg)], check=True)
            width, height, rows = read_rgba_png(png)
            indices = [[nearest(tuple(row[x * 3:x * 3 + 3])) for x in range(width)] for row in rows]
            write_bmp4(os.path.join(ROOT, "res", bmp), width, height, indices)
            print("%s: %dx%d" % (bmp, width, height))


if __name__ == "__main__":
    sys.exit(main())
