#!/usr/bin/env bash
# Write the tiny BMP test skin tests/data/skins/tabby-bmp/.
#
# Debian packages needed: python3 (standard library only). The files are
# written byte by byte, so the output is exactly reproducible.
#   apt-get install python3
#
# Files (all uncompressed Windows BMP, 14-byte file header + 40-byte
# BITMAPINFOHEADER, bottom-up rows padded to 4 bytes, 40 x 48 pixels):
#   surface0.bmp   8-bit, 256-entry colour table   sitting cat, grey
#   surface1.bmp   24-bit                          sitting cat, ginger, tail up
#   surface10.bmp  24-bit  frame 0 of surface 1: eyes half shut
#   surface11.bmp  24-bit  frame 1 of surface 1: eyes shut
#   surface2.bmp   8-bit, 256-entry colour table   drop pose, blue-grey, paws up
#   profile.txt    "Tabby BMP" / "A tiny test skin." (ASCII, CR LF)
#   separate.txt   "2" (CR LF): surface 2 is the first drop pose
#
# Pixel layout. Coordinates are (x, y) with the origin at the top-left pixel,
# x to the right, y downwards. A pixel belongs to a shape when its centre
# (x + 0.5, y + 0.5) lies inside the shape (on the edge counts as inside).
# Later shapes paint over earlier ones. Everything else is KEY.
#
#   KEY    = (255, 0, 255)   magenta; pixel (0,0) is always KEY
#   EYE    = (255, 230, 0)   yellow
#   DARK   = (40, 30, 30)    nose and closed-eye lines
#   BODY   = surface0 (128, 128, 128), surface1 (230, 140, 50),
#            surface2 (90, 110, 160)
#
#   body    circle, centre (20, 30), radius 14.5            BODY
#   ears    triangles (6,22)-(9,5)-(18,17) and (34,22)-(31,5)-(22,17)   BODY
#   eyes    rectangles x 13..15, y 25..27 and x 25..27, y 25..27 (3x3)  EYE
#   nose    x 19..20, y 31                                   DARK
#   surface1 only: tail, rectangle x 33..36, y 18..41        BODY
#   surface2 only: paws up, rectangles x 2..6, y 4..30 and x 33..37, y 4..30  BODY
#   frames of surface 1:
#     surface10: eye rows y 25..26 painted BODY, row y 27 stays EYE (half shut)
#     surface11: eye rows y 25..27 painted BODY, then row y 26 painted DARK (shut)
#   So the silhouette (set of non-KEY pixels) of surface10 and surface11 is
#   exactly that of surface1.
#
# In 8-bit files the colour table has 256 entries: 0 = KEY, 1 = BODY,
# 2 = EYE, 3 = DARK, the rest (0,0,0); biClrUsed = 256.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/tests/data/skins/tabby-bmp
mkdir -p "$out"

python3 - "$out" <<'PY'
import os
import struct
import sys

out = sys.argv[1]
W, H = 40, 48
KEY = (255, 0, 255)
EYE = (255, 230, 0)
DARK = (40, 30, 30)


def inside_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0])
    p = (px, py)
    d1, d2, d3 = side(a, b, p), side(b, c, p), side(c, a, p)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def rect(img, x0, x1, y0, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def cat(body, tail=False, paws=False, eyes="open"):
    img = [[KEY] * W for _ in range(H)]
    for y in range(H):
        for x in range(W):
            cx, cy = x + 0.5, y + 0.5
            if (cx - 20) ** 2 + (cy - 30) ** 2 <= 14.5 ** 2:
                img[y][x] = body
            elif inside_triangle(cx, cy, (6, 22), (9, 5), (18, 17)) or \
                    inside_triangle(cx, cy, (34, 22), (31, 5), (22, 17)):
                img[y][x] = body
    if tail:
        rect(img, 33, 36, 18, 41, body)
    if paws:
        rect(img, 2, 6, 4, 30, body)
        rect(img, 33, 37, 4, 30, body)
    rect(img, 13, 15, 25, 27, EYE)
    rect(img, 25, 27, 25, 27, EYE)
    if eyes == "half":
        rect(img, 13, 15, 25, 26, body)
        rect(img, 25, 27, 25, 26, body)
    elif eyes == "shut":
        rect(img, 13, 15, 25, 27, body)
        rect(img, 25, 27, 25, 27, body)
        rect(img, 13, 15, 26, 26, DARK)
        rect(img, 25, 27, 26, 26, DARK)
    rect(img, 19, 20, 31, 31, DARK)
    assert img[0][0] == KEY
    return img


def write_bmp(path, img, bits):
    if bits == 8:
        table = [KEY]
        for row in img:
            for c in row:
                if c not in table:
                    table.append(c)
        assert len(table) <= 256
        index = {c: i for i, c in enumerate(table)}
        table += [(0, 0, 0)] * (256 - len(table))
        stride = (W + 3) & ~3
        pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in table)
        rows = [bytes(index[c] for c in row) + b"\0" * (stride - W) for row in img]
        colours = 256
    else:
        stride = (W * 3 + 3) & ~3
        pal = b""
        rows = [b"".join(bytes((b, g, r)) for (r, g, b) in row) + b"\0" * (stride - W * 3) for row in img]
        colours = 0
    pixels = b"".join(reversed(rows))          # bottom-up
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, bits, 0, len(pixels), 2835, 2835, colours, 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + pixels)


GREY, GINGER, BLUE = (128, 128, 128), (230, 140, 50), (90, 110, 160)
write_bmp(os.path.join(out, "surface0.bmp"), cat(GREY), 8)
write_bmp(os.path.join(out, "surface1.bmp"), cat(GINGER, tail=True), 24)
write_bmp(os.path.join(out, "surface10.bmp"), cat(GINGER, tail=True, eyes="half"), 24)
write_bmp(os.path.join(out, "surface11.bmp"), cat(GINGER, tail=True, eyes="shut"), 24)
write_bmp(os.path.join(out, "surface2.bmp"), cat(BLUE, paws=True), 8)
with open(os.path.join(out, "profile.txt"), "wb") as f:
    f.write(b"Tabby BMP\r\nA tiny test skin.\r\n")
with open(os.path.join(out, "separate.txt"), "wb") as f:
    f.write(b"2\r\n")
PY
echo "written into $out"
