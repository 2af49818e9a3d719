#!/usr/bin/env python3
"""Writes the plug-in's resource art: prefs.bmp (the picture of the
preferences dialog) and plugin.ico (the plug-in's icon).

Python standard library only. The output is a pure function of this file, so
every run writes the same bytes; the generated files are kept in the
repository beside this script and the build uses them as they are.

    make_art.py                 write prefs.bmp and plugin.ico next to this file
    make_art.py --out DIR       write them into DIR instead
    make_art.py --check         exit 1 unless the files next to this file are
                                exactly what this script writes
    make_art.py --preview DIR   also write PNG previews into DIR (scaled up)
"""

import argparse
import math
import os
import re
import struct
import sys
import zlib


def _resource_text(name):
    """A text of LoomvaneRes.h, where the code and the resource script read it."""
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "LoomvaneRes.h"), encoding="ascii") as header:
        return re.search(r'#define\s+' + name + r'\s+"([^"]*)"', header.read()).group(1)


NAME = _resource_text("LOOMVANE_NAME")
VERSION = _resource_text("LOOMVANE_VERSION")

PREFS_WIDTH = 230
PREFS_HEIGHT = 157
ICON_SIZE = 32

# ---------------------------------------------------------------------------
# A small proportional bitmap font, 7 rows high (rows 0-1 are the ascender
# area above the lower-case x-height). Each glyph is as wide as its rows.

FONT = {
    " ": ["...", "...", "...", "...", "...", "...", "..."],
    ".": ["..", "..", "..", "..", "..", "##", "##"],
    "-": ["....", "....", "....", "####", "....", "....", "...."],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "..##.", ".#...", "#....", "#####"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "c": [".....", ".....", ".###.", "#....", "#....", "#...#", ".###."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "f": ["..##", ".#..", ".#..", "####", ".#..", ".#..", ".#.."],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "r": ["....", "....", "#.##", "##..", "#...", "#...", "#..."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
}
FONT_HEIGHT = 7


def text_mask(text, spacing=1):
    """The text as rows of booleans at one pixel per font dot."""
    rows = [[] for _ in range(FONT_HEIGHT)]
    for n, ch in enumerate(text):
        glyph = FONT.get(ch)
        if glyph is None:
            raise ValueError("no glyph for %r" % ch)
        if n:
            for row in rows:
                row.extend([False] * spacing)
        for row, line in zip(rows, glyph):
            row.extend(c == "#" for c in line)
    return rows


def scale2x(mask):
    """Doubles a boolean mask with the Scale2x rule, which rounds the steps
    of diagonal strokes instead of leaving square blocks."""
    h = len(mask)
    w = len(mask[0])

    def at(x, y):
        if 0 <= x < w and 0 <= y < h:
            return mask[y][x]
        return False

    out = [[False] * (2 * w) for _ in range(2 * h)]
    for y in range(h):
        for x in range(w):
            p = mask[y][x]
            a, b, c, d = at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            e0 = a if (c == a and c != d and a != b) else p
            e1 = b if (a == b and a != c and b != d) else p
            e2 = c if (d == c and d != b and c != a) else p
            e3 = d if (b == d and b != a and d != c) else p
            out[2 * y][2 * x] = e0
            out[2 * y][2 * x + 1] = e1
            out[2 * y + 1][2 * x] = e2
            out[2 * y + 1][2 * x + 1] = e3
    return out


def scaled_text(text, doublings):
    mask = text_mask(text)
    for _ in range(doublings):
        mask = scale2x(mask)
    return mask


# ---------------------------------------------------------------------------
# Colour helpers.

def mix(c0, c1, t):
    t = min(1.0, max(0.0, t))
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c0, c1))


def ramp(stops, count):
    """count colours spread evenly along a list of (position, colour) stops."""
    out = []
    for i in range(count):
        t = i / (count - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                out.append(mix(c0, c1, (t - p0) / (p1 - p0)))
                break
    return out


class Palette:
    """A palette built from named ramps; index() gives the entry of a shade."""

    def __init__(self):
        self.colours = []
        self.ramps = {}

    def add_ramp(self, name, colours):
        self.ramps[name] = (len(self.colours), len(colours))
        self.colours.extend(colours)

    def index(self, name, t):
        start, count = self.ramps[name]
        t = min(1.0, max(0.0, t))
        return start + int(round(t * (count - 1)))

    def padded(self, size):
        if len(self.colours) > size:
            raise ValueError("palette has %d colours, room for %d" % (len(self.colours), size))
        return self.colours + [(0, 0, 0)] * (size - len(self.colours))


# ---------------------------------------------------------------------------
# The preferences picture.

def weave_pixel(x, y, cell, thread):
    """Which thread of a plain weave shows at (x, y), and the shade across it.

    Warp threads run down, weft threads across; each cell holds one crossing,
    and the thread on top alternates like a chequer board. Returns
    (kind, shade) with kind "warp", "weft" or "gap" and shade in 0..1."""
    i, u = divmod(x, cell)
    j, v = divmod(y, cell)
    margin = (cell - thread) // 2
    in_warp = margin <= u < margin + thread
    in_weft = margin <= v < margin + thread
    # Shade across a thread: bright along its middle, darker at its edges.
    def across(offset):
        return math.sin(math.pi * (offset - margin + 0.5) / thread)
    warp_on_top = (i + j) % 2 == 0
    if in_warp and in_weft:
        if warp_on_top:
            # Where the weft dips under, the warp is lit along its length.
            return "warp", 0.25 + 0.75 * across(u)
        return "weft", 0.25 + 0.75 * across(v)
    if in_warp:
        # The warp ducking under the neighbouring weft darkens towards it.
        dip = abs((v + 0.5) - cell / 2) / (cell / 2)
        return "warp", (0.25 + 0.75 * across(u)) * (1.0 - 0.45 * dip)
    if in_weft:
        dip = abs((u + 0.5) - cell / 2) / (cell / 2)
        return "weft", (0.25 + 0.75 * across(v)) * (1.0 - 0.45 * dip)
    return "gap", 0.0


def make_prefs_picture():
    w, h = PREFS_WIDTH, PREFS_HEIGHT
    pal = Palette()
    pal.add_ramp("back", ramp([(0.0, (16, 26, 66)), (0.55, (22, 58, 98)), (1.0, (20, 92, 104))], 128))
    pal.add_ramp("name", ramp([(0.0, (255, 250, 232)), (1.0, (236, 196, 112))], 24))
    pal.add_ramp("warp", ramp([(0.0, (70, 38, 12)), (0.6, (196, 128, 48)), (1.0, (252, 214, 140))], 20))
    pal.add_ramp("weft", ramp([(0.0, (10, 44, 56)), (0.6, (48, 150, 170)), (1.0, (170, 232, 240))], 20))
    pal.add_ramp("shadow", [(6, 10, 28), (10, 16, 40)])
    pal.add_ramp("frame", [(8, 12, 30), (60, 84, 130), (150, 182, 222), (214, 228, 246)])
    pal.add_ramp("caption", [(196, 214, 240)])
    pal.add_ramp("version", [(240, 206, 130)])
    pal.add_ramp("rule", [(90, 124, 172)])
    pal.add_ramp("grey", ramp([(0.0, (0, 0, 0)), (1.0, (255, 255, 255))], 256 - len(pal.colours)))

    # Background: a diagonal gradient, darker at the top left.
    img = [[0] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            t = 0.8 * y / (h - 1) + 0.2 * x / (w - 1)
            img[y][x] = pal.index("back", t)

    def fill_rect(x0, y0, x1, y1, index):
        for y in range(max(0, y0), min(h, y1)):
            for x in range(max(0, x0), min(w, x1)):
                img[y][x] = index

    def frame(x0, y0, x1, y1, index):
        fill_rect(x0, y0, x1, y0 + 1, index)
        fill_rect(x0, y1 - 1, x1, y1, index)
        fill_rect(x0, y0, x0 + 1, y1, index)
        fill_rect(x1 - 1, y0, x1, y1, index)

    # A dark outer edge and a raised inner frame.
    frame(0, 0, w, h, pal.index("frame", 0.0))
    frame(3, 3, w - 3, h - 3, pal.index("frame", 1.0))
    frame(4, 4, w - 4, h - 4, pal.index("frame", 0.34))

    def draw_mask(mask, x0, y0, colour_of):
        for my, row in enumerate(mask):
            for mx, on in enumerate(row):
                if on:
                    x, y = x0 + mx, y0 + my
                    if 0 <= x < w and 0 <= y < h:
                        img[y][x] = colour_of(mx, my, len(mask))

    def draw_text(text, doublings, x0, y0, colour_of, shadow=0):
        mask = scaled_text(text, doublings)
        if shadow:
            draw_mask(mask, x0 + shadow, y0 + shadow, lambda mx, my, mh: pal.index("shadow", 0.0))
        draw_mask(mask, x0, y0, colour_of)
        return len(mask[0])

    def centred_x(text, doublings):
        return (w - len(scaled_text(text, doublings)[0])) // 2

    # Caption and a rule under it.
    caption = "Preferences"
    draw_text(caption, 1, 11, 10, lambda mx, my, mh: pal.index("caption", 0.0), shadow=1)
    fill_rect(11, 29, w - 11, 30, pal.index("rule", 0.0))
    fill_rect(11, 30, w - 11, 31, pal.index("shadow", 1.0))

    # The name, large, in a warm vertical gradient.
    name_x = centred_x(NAME, 2)
    draw_text(NAME, 2, name_x, 42,
              lambda mx, my, mh: pal.index("name", my / (mh - 1)), shadow=2)

    # The version, smaller.
    version_text = "version " + VERSION
    draw_text(version_text, 1, centred_x(version_text, 1), 84,
              lambda mx, my, mh: pal.index("version", 0.0), shadow=1)

    # A strip of plain weave along the bottom, inside a thin frame.
    band_x0, band_y0, band_x1, band_y1 = 9, 113, w - 9, 147
    frame(band_x0 - 1, band_y0 - 1, band_x1 + 1, band_y1 + 1, pal.index("frame", 0.0))
    for y in range(band_y0, band_y1):
        for x in range(band_x0, band_x1):
            kind, shade = weave_pixel(x - band_x0, y - band_y0, 8, 6)
            if kind == "gap":
                img[y][x] = pal.index("shadow", 0.0)
            else:
                img[y][x] = pal.index(kind, shade)

    return pal.padded(256), img


# ---------------------------------------------------------------------------
# The icon: a small window whose client area is woven.

# The sixteen colours of a 4-bit icon, in the usual order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, \
    YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)


def icon_roles():
    """The icon as rows of (role, shade) or None where it is transparent."""
    n = ICON_SIZE
    rows = [[None] * n for _ in range(n)]
    left, top, right, bottom = 2, 1, 27, 28  # the window's outline, inclusive
    title_rows = 7                           # the title bar below the outline
    client_top = top + title_rows + 2        # below the title bar's rule
    for y in range(n):
        for x in range(n):
            inside = left <= x <= right and top <= y <= bottom
            if not inside:
                # A shadow two pixels down and to the right.
                if left + 2 <= x <= right + 2 and top + 2 <= y <= bottom + 2:
                    rows[y][x] = ("shadow", 0.0)
                continue
            if y == top and x in (left, right):
                continue  # rounded top corners
            if x in (left, right) or y in (top, bottom, client_top - 1):
                rows[y][x] = ("outline", 0.0)
            elif y < client_top:
                # The title bar, lighter at the top, with a raised red close
                # box at the right.
                bx, by = x - (right - 6), y - (top + 2)
                if 0 <= bx < 5 and 0 <= by < 5:
                    if bx == 4 or by == 4:
                        rows[y][x] = ("close", 0.0)
                    elif bx == 0 or by == 0:
                        rows[y][x] = ("close", 1.0)
                    else:
                        rows[y][x] = ("close", 0.5)
                else:
                    rows[y][x] = ("title", 1.0 - (y - top - 1) / (title_rows - 1))
            else:
                # The client area: a plain weave, whole cells edge to edge.
                kind, shade = weave_pixel(x - (left + 1), y - client_top, 6, 4)
                rows[y][x] = ("gap", 0.0) if kind == "gap" else (kind, shade)
    return rows


def icon_8bit():
    pal = Palette()
    pal.colours = list(VGA16)
    pal.add_ramp("title", ramp([(0.0, (18, 40, 120)), (1.0, (90, 140, 230))], 16))
    pal.add_ramp("warp", ramp([(0.0, (70, 38, 12)), (0.6, (196, 128, 48)), (1.0, (252, 214, 140))], 24))
    pal.add_ramp("weft", ramp([(0.0, (10, 44, 56)), (0.6, (48, 150, 170)), (1.0, (170, 232, 240))], 24))
    pal.add_ramp("shadow", [(96, 96, 104)])
    pal.add_ramp("gap", [(20, 24, 40)])
    pal.add_ramp("close", [(110, 16, 12), (206, 48, 36), (255, 176, 160)])
    fixed = {"outline": BLACK}

    def index(role, shade):
        if role in fixed:
            return fixed[role]
        return pal.index(role, shade)

    return pal.padded(256), [[None if c is None else index(*c) for c in row] for row in icon_roles()]


def icon_4bit():
    def index(role, shade):
        if role == "title":
            return BLUE if shade > 0.45 else NAVY
        if role == "warp":
            return YELLOW if shade > 0.7 else OLIVE
        if role == "weft":
            return AQUA if shade > 0.7 else TEAL
        if role == "close":
            return WHITE if shade > 0.7 else RED if shade > 0.3 else MAROON
        return {"outline": BLACK, "shadow": GREY, "gap": BLACK}[role]

    return list(VGA16), [[None if c is None else index(*c) for c in row] for row in icon_roles()]


# ---------------------------------------------------------------------------
# File formats.

def bitmap_info_header(width, height, bits, colours, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size,
                       2835, 2835, colours, colours)


def palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def pack_rows(img, bits):
    """Bottom-up rows of palette indices at 4 or 8 bits, each row padded to a
    multiple of four bytes."""
    out = bytearray()
    for row in reversed(img):
        if bits == 8:
            line = bytes(row)
        else:
            line = bytes((row[i] << 4) | (row[i + 1] if i + 1 < len(row) else 0)
                         for i in range(0, len(row), 2))
        out += line + b"\0" * (-len(line) % 4)
    return bytes(out)


def bmp_file(palette, img):
    pixels = pack_rows(img, 8)
    info = bitmap_info_header(len(img[0]), len(img), 8, len(palette), len(pixels))
    body = info + palette_bytes(palette) + pixels
    header = struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, 14 + len(info) + 4 * len(palette))
    return header + body


def icon_image(palette, img, bits):
    """One icon image: header (height doubled for the mask), palette, colour
    bits, then the AND mask where a set bit lets the background through."""
    n = len(img)
    colour = pack_rows([[0 if c is None else c for c in row] for row in img], bits)
    mask = bytearray()
    for row in reversed(img):
        line = bytearray((len(row) + 7) // 8)
        for x, c in enumerate(row):
            if c is None:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line + b"\0" * (-len(line) % 4)
    info = bitmap_info_header(n, 2 * n, bits, len(palette), len(colour) + len(mask))
    return info + palette_bytes(palette) + colour + bytes(mask)


def ico_file(images):
    """images: (width, height, colour_count, bits, data) for each image."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for width, height, colours, bits, data in images:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, colours % 256, 0,
                           1, bits, len(data), offset)
        offset += len(data)
    for image in images:
        out += image[4]
    return bytes(out)


def make_icon():
    pal4, img4 = icon_4bit()
    pal8, img8 = icon_8bit()
    return ico_file([
        (ICON_SIZE, ICON_SIZE, 16, 4, icon_image(pal4, img4, 4)),
        (ICON_SIZE, ICON_SIZE, 0, 8, icon_image(pal8, img8, 8)),
    ])


def png_file(rows):
    """rows of (r, g, b, a)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + \
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)
    ihdr = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + \
        chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def enlarge(rows, factor):
    out = []
    for row in rows:
        line = [px for px in row for _ in range(factor)]
        out.extend(list(line) for _ in range(factor))
    return out


def write_previews(directory):
    os.makedirs(directory, exist_ok=True)
    pal, img = make_prefs_picture()
    rows = [[pal[i] + (255,) for i in row] for row in img]
    with open(os.path.join(directory, "prefs.png"), "wb") as f:
        f.write(png_file(enlarge(rows, 3)))
    # Both icon images side by side on a checked background.
    pal4, img4 = icon_4bit()
    pal8, img8 = icon_8bit()
    rows = []
    for y in range(ICON_SIZE):
        row = []
        for pal_, img_ in ((pal4, img4), (pal8, img8)):
            for x in range(ICON_SIZE):
                c = img_[y][x]
                if c is None:
                    row.append((236, 236, 236, 255) if (x // 4 + y // 4) % 2 else (200, 200, 200, 255))
                else:
                    row.append(pal_[c] + (255,))
            row.extend([(255, 255, 255, 255)] * 4)
        rows.append(row)
    with open(os.path.join(directory, "plugin.png"), "wb") as f:
        f.write(png_file(enlarge(rows, 8)))


def generated_files():
    pal, img = make_prefs_picture()
    return {"prefs.bmp": bmp_file(pal, img), "plugin.ico": make_icon()}


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Write the plug-in's resource art.")
    parser.add_argument("--out", default=here, help="directory to write into")
    parser.add_argument("--check", action="store_true",
                        help="compare the files in --out with what would be written")
    parser.add_argument("--preview", metavar="DIR", help="also write PNG previews into DIR")
    args = parser.parse_args(argv)

    files = generated_files()
    if args.check:
        stale = []
        for name, data in sorted(files.items()):
            path = os.path.join(args.out, name)
            try:
                with open(path, "rb") as f:
                    current = f.read()
            except OSError as e:
                stale.append("%s: cannot read (%s)" % (path, e))
                continue
            if current != data:
                stale.append("%s: %d bytes on disk, generator writes %d bytes%s" % (
                    path, len(current), len(data),
                    " (same size, different content)" if len(current) == len(data) else ""))
        for line in stale:
            print(line, file=sys.stderr)
        if stale:
            print("run %s to regenerate" % os.path.basename(__file__), file=sys.stderr)
            return 1
        print("art is up to date: " + ", ".join(sorted(files)))
        return 0

    os.makedirs(args.out, exist_ok=True)
    for name, data in sorted(files.items()):
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
        print("wrote %s (%d bytes)" % (os.path.join(args.out, name), len(data)))
    if args.preview:
        write_previews(args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
