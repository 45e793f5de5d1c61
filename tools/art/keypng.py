#!/usr/bin/env python3
"""Turn RGBA renderings into key-colour PNGs for a tumblecat skin.

Usage:
    keypng.py [--key RRGGBB] [--threshold N] IN.png=OUT.png [IN.png=OUT.png ...]
    keypng.py --bbox IN.png         print left,top,right,bottom of the opaque part
    keypng.py --check A.png B.png.. verify finished skin images: no key-like
                                    pixel in the figure, and B.. have exactly
                                    the silhouette of A (blink frames)

All images given in one call share one palette, so a surface and its
animation frames come out with identical colours (no flicker between them).

What it does, for every pixel of every input (8-bit RGB or RGBA,
non-interlaced PNG, as rsvg-convert writes):
  * alpha >= threshold (default 128)  -> opaque, keeps its own colour
  * alpha <  threshold                -> the key colour (default FF00FF)
There is no blending with the key, so no pinkish fringe can appear.

The output is an 8-bit palette PNG (colour type 3, bit depth 8) with a PLTE
and no tRNS chunk: no alpha at all. Palette index 0 is the key colour. Figure
colours are reduced to at most 255 entries by a weighted median cut (exact
when the figure already has 255 colours or fewer), and no figure entry may
equal the key or look like a key mix (R>200, B>200, G<80): such an entry is
nudged and reported.

Only the Python 3 standard library is used.
"""
import struct
import sys
import zlib

PNG_SIG = b"\x89PNG\r\n\x1a\n"


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != PNG_SIG:
        raise SystemExit("%s: not a PNG" % path)
    pos = 8
    idat = b""
    width = height = None
    while pos < len(data):
        length, ctype = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if ctype == b"IHDR":
            width, height, depth, colour, _comp, _filt, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 3, 6) or interlace != 0:
                raise SystemExit("%s: need 8-bit RGB/RGBA/palette non-interlaced" % path)
        elif ctype == b"PLTE":
            plte = [tuple(body[k:k + 3]) for k in range(0, len(body), 3)]
        elif ctype == b"tRNS":
            raise SystemExit("%s: has a tRNS chunk" % path)
        elif ctype == b"IDAT":
            idat += body
        elif ctype == b"IEND":
            break
    bpp = {6: 4, 2: 3, 3: 1}[colour]
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows = []
    prev = bytearray(stride)
    p = 0
    for _ in range(height):
        ftype = raw[p]
        line = bytearray(raw[p + 1:p + 1 + stride])
        p += 1 + stride
        if ftype == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 255
        elif ftype == 2:
            for i in range(stride):
                line[i] = (line[i] + prev[i]) & 255
        elif ftype == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
        elif ftype == 4:
            for i in range(stride):
                a = line[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                pr = a if (pa <= pb and pa <= pc) else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 255
        elif ftype != 0:
            raise SystemExit("%s: bad filter %d" % (path, ftype))
        rows.append(bytes(line))
        prev = line
    pixels = []
    for line in rows:
        for x in range(width):
            if bpp == 1:
                pixels.append(plte[line[x]] + (255,))
                continue
            o = x * bpp
            a = line[o + 3] if bpp == 4 else 255
            pixels.append((line[o], line[o + 1], line[o + 2], a))
    return width, height, pixels


def chunk(ctype, body):
    return struct.pack(">I", len(body)) + ctype + body + struct.pack(">I", zlib.crc32(ctype + body) & 0xFFFFFFFF)


def write_png8(path, width, height, palette, indices):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        raw += bytes(indices[y * width:(y + 1) * width])
    out = PNG_SIG
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
    out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    out += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    out += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(out)


def median_cut(counts, n):
    """counts: {rgb: weight}. Returns a list of at most n representative colours."""
    boxes = [list(counts.items())]
    while len(boxes) < n:
        best = None
        best_score = -1
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            rng = max(max(c[0][k] for c in box) - min(c[0][k] for c in box) for k in range(3))
            weight = sum(c[1] for c in box)
            score = rng * weight
            if score > best_score:
                best, best_score = i, score
        if best is None:
            break
        box = boxes.pop(best)
        axis = max(range(3), key=lambda k: max(c[0][k] for c in box) - min(c[0][k] for c in box))
        box.sort(key=lambda c: c[0][axis])
        total = sum(c[1] for c in box)
        acc = 0
        cut = 1
        for j, c in enumerate(box):
            acc += c[1]
            if acc * 2 >= total:
                cut = max(1, min(len(box) - 1, j + 1))
                break
        boxes.append(box[:cut])
        boxes.append(box[cut:])
    reps = []
    for box in boxes:
        top = max(box, key=lambda c: c[1])
        total = sum(c[1] for c in box)
        if top[1] * 2 >= total:
            reps.append(top[0])  # a flat fill colour stays exact
        else:
            reps.append(tuple(int(round(sum(c[0][k] * c[1] for c in box) / total)) for k in range(3)))
    return reps


def pinkish(c):
    return c[0] > 200 and c[2] > 200 and c[1] < 80


def bbox(path, threshold=128):
    """Print left,top,right,bottom of the opaque pixels (right/bottom exclusive)."""
    w, h, px = read_png(path)
    xs = [i % w for i, p in enumerate(px) if p[3] >= threshold]
    ys = [i // w for i, p in enumerate(px) if p[3] >= threshold]
    print("%d,%d,%d,%d" % (min(xs), min(ys), max(xs) + 1, max(ys) + 1))


def check(paths):
    """Key-colour checks on finished PNGs; the first one sets the silhouette
    that all the others must share exactly."""
    ok = True
    first_mask = None
    for path in paths:
        w, h, px = read_png(path)
        key = px[0][:3]
        mask = [p[:3] == key for p in px]
        bad = sum(1 for p, m in zip(px, mask) if not m and pinkish(p))
        if bad:
            print("%s: %d pinkish pixel(s) next to key %s" % (path, bad, key))
            ok = False
        if first_mask is None:
            first_mask, first = (w, h, mask), path
        elif (w, h, mask) != first_mask:
            print("%s: silhouette differs from %s" % (path, first))
            ok = False
    return ok


def main(argv):
    if argv[:1] == ["--bbox"]:
        bbox(argv[1])
        return
    if argv[:1] == ["--check"]:
        if not check(argv[1:]):
            raise SystemExit(1)
        return
    key = (255, 0, 255)
    threshold = 128
    pairs = []
    i = 0
    while i < len(argv):
        a = argv[i]
        if a == "--key":
            h = argv[i + 1]
            key = (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16))
            i += 2
            continue
        if a == "--threshold":
            threshold = int(argv[i + 1])
            i += 2
            continue
        src, _, dst = a.partition("=")
        if not dst:
            raise SystemExit("argument must be IN.png=OUT.png: %s" % a)
        pairs.append((src, dst))
        i += 1
    if not pairs:
        raise SystemExit(__doc__)

    images = []
    counts = {}
    for src, dst in pairs:
        w, h, px = read_png(src)
        rgb = []
        for r, g, b, a in px:
            if a >= threshold:
                c = (r, g, b)
                if c == key or pinkish(c):
                    raise SystemExit("%s: figure pixel %s clashes with the key" % (src, c))
                counts[c] = counts.get(c, 0) + 1
                rgb.append(c)
            else:
                rgb.append(None)
        if rgb[0] is not None:
            raise SystemExit("%s: top-left pixel is not background; leave a margin" % src)
        images.append((dst, w, h, rgb))

    reps = list(counts) if len(counts) <= 255 else median_cut(counts, 255)
    fixed = []
    for c in reps:
        if c == key or pinkish(c):
            n = (c[0], 90, c[2])
            sys.stderr.write("keypng: palette colour %s nudged to %s\n" % (c, n))
            c = n
        fixed.append(c)
    palette = [key] + fixed

    cache = {}

    def nearest(c):
        j = cache.get(c)
        if j is None:
            j = min(range(1, len(palette)),
                    key=lambda k: (palette[k][0] - c[0]) ** 2 * 3 + (palette[k][1] - c[1]) ** 2 * 4
                    + (palette[k][2] - c[2]) ** 2 * 2)
            cache[c] = j
        return j

    for dst, w, h, rgb in images:
        idx = [0 if c is None else nearest(c) for c in rgb]
        write_png8(dst, w, h, palette, idx)
    sys.stderr.write("keypng: %d image(s), %d figure colours -> %d palette entries\n"
                     % (len(images), len(counts), len(palette)))


if __name__ == "__main__":
    main(sys.argv[1:])
