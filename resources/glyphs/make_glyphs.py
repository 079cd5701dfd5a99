#!/usr/bin/env python3
"""Draws Stampkeep's glyph bitmaps, the About picture and the application icon.

Glyphs are 16 x 16 (20 and 21: 12 x 11) pixel maps, one character per pixel, on pure red, which the program makes
transparent. They are written as 256-colour BMP files named after their number (10.bmp ... 58.bmp). The hot images
(36-41, 43) are the normal ones (30-35, 42) in brighter colours; the dim clock buttons (55-58) are 24, 15, 16 and 17 in greys.

Run from anywhere: python3 resources/glyphs/make_glyphs.py [--sheet contact.png]
Only the standard library is used.
"""

import argparse
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.dirname(HERE)

KEY = (255, 0, 0)

# Normal colours; '.' is the transparent key. Pasted on another drawing, '.' and ' ' keep what is below.
PALETTE = {
    '.': KEY,
    'k': (0, 0, 0),
    'd': (72, 72, 72),
    'g': (128, 128, 128),
    'l': (192, 192, 192),
    's': (224, 224, 224),
    'w': (255, 255, 255),
    'r': (200, 16, 16),
    'R': (120, 0, 0),
    'p': (255, 120, 120),
    'G': (0, 120, 0),
    'h': (64, 184, 64),
    'b': (0, 48, 160),
    'B': (72, 136, 232),
    'y': (240, 200, 32),
    'Y': (176, 128, 0),
    'n': (150, 92, 36),
    'N': (96, 56, 16),
    'o': (200, 140, 80),
    'e': (248, 160, 176),
}

# The hot images: the same drawings, lit up.
HOT = dict(PALETTE)
HOT.update({
    'G': (0, 170, 0),
    'h': (110, 240, 110),
    'b': (0, 90, 230),
    'B': (130, 190, 255),
    'y': (255, 236, 80),
    'Y': (224, 170, 0),
    'r': (240, 40, 40),
    'R': (170, 0, 0),
    'p': (255, 170, 170),
    'd': (40, 40, 40),
})


def dimmed(colour):
    """A disabled-looking grey of the same lightness."""
    if colour == KEY:
        return KEY
    r, g, b = colour
    lightness = (r * 30 + g * 59 + b * 11) // 100
    grey = 96 + lightness * 128 // 255
    return (grey, grey, grey)


DIM = {char: dimmed(colour) for char, colour in PALETTE.items()}

PAGE = [
    "..kkkkkkkk......",
    "..kwwwwwwkk.....",
    "..kwwwwwwklk....",
    "..kwggggwkllk...",
    "..kwwwwwwkkkkk..",
    "..kwwwwwwwwwwk..",
    "..kwggggggggwk..",
    "..kwwwwwwwwwwk..",
    "..kwggggggggwk..",
    "..kwwwwwwwwwwk..",
    "..kwggggggggwk..",
    "..kwwwwwwwwwwk..",
    "..kwggggggggwk..",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
]

PAGES = [
    "....kkkkkkkk....",
    "....kwwwwwwkk...",
    "..kkkkkkkkwklk..",
    "..kwwwwwwkkkkkk.",
    "..kwwwwwwwkwwwk.",
    "..kwggggwkllkwk.",
    "..kwwwwwwkkkkkk.",
    "..kwwwwwwwwwwkk.",
    "..kwggggggggwkk.",
    "..kwwwwwwwwwwkk.",
    "..kwggggggggwkk.",
    "..kwwwwwwwwwwkk.",
    "..kwggggggggwkk.",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
]

CLOCK = [
    ".....kkkkk......",
    "...kkwwwwwkk....",
    "..kwwwwkwwwwk...",
    ".kwwwwwkwwwwwk..",
    ".kwwwwwkwwwwwk..",
    "kwwwwwwkwwwwwwk.",
    "kwwwwwwkwwwwwwk.",
    "kgwwwwwkkkkwwgk.",
    "kwwwwwwwwwwwwwk.",
    "kwwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwk..",
    ".kwwwwwwwwwwwk..",
    "..kwwwwwwwwwk...",
    "...kkwwgwwkk....",
    ".....kkkkk......",
    "................",
]

SMALL_CLOCK = [
    "...kkkkk...",
    ".kkwwkwwkk.",
    ".kwwwkwwwk.",
    "kwwwwkwwwwk",
    "kwwwwkwwwwk",
    "kwwwwkkkwwk",
    "kwwwwwwwwwk",
    "kwwwwwwwwwk",
    ".kwwwwwwwk.",
    ".kkwwwwwkk.",
    "...kkkkk...",
]

TINY_CLOCK = [
    "..kkkkk..",
    ".kwwkwwk.",
    "kwwwkwwwk",
    "kwwwkwwwk",
    "kwwwkkkwk",
    "kwwwwwwwk",
    "kwwwwwwwk",
    ".kwwwwwk.",
    "..kkkkk..",
]

CALENDAR = [
    "................",
    "..k..k..k..k....",
    ".kkkkkkkkkkkkk..",
    ".krrrrrrrrrrrk..",
    ".krrrrrrrrrrrk..",
    ".kkkkkkkkkkkkk..",
    ".kwwwwwwwwwwwk..",
    ".kwgwgwgwgwgwk..",
    ".kwwwwwwwwwwwk..",
    ".kwgwgwgwgwgwk..",
    ".kwwwwwwwwwwwk..",
    ".kwgwgwgwgwgwk..",
    ".kwwwwwwwwwwwk..",
    ".kwgwgwgwgwgwk..",
    ".kwwwwwwwwwwwk..",
    ".kkkkkkkkkkkkk..",
]

CHECK = [
    "      hG",
    "     hGG",
    "G   hGG ",
    "GG hGG  ",
    "GGhGG   ",
    " GGG    ",
    "  G     ",
]

PLUS_BADGE = [
    "  kkk  ",
    "  khk  ",
    "kkkhkkk",
    "khhhhhk",
    "kkkhkkk",
    "  khk  ",
    "  kkk  ",
]

MINUS_BADGE = [
    "kkkkkkk",
    "krrrrrk",
    "kkkkkkk",
]

CROSS_BADGE = [
    "rr   rr",
    "rrr rrr",
    " rrrrr ",
    "  rrr  ",
    " rrrrr ",
    "rrr rrr",
    "rr   rr",
]

UNDO = [
    "................",
    "................",
    "....b...........",
    "...bb...........",
    "..bBbbbbbbbb....",
    ".bBBBBBBBBBBbb..",
    "..bBbbbbbbbBBBb.",
    "...bb......bbBBb",
    "....b.......bBBb",
    "............bBBb",
    "...........bBBb.",
    ".....bbbbbbBBb..",
    ".....bBBBBBBb...",
    ".....bbbbbbb....",
    "................",
    "................",
]

SMALL_UNDO = [
    "  r     ",
    " rr     ",
    "rrrrrr  ",
    " rr  rr ",
    "  r   rr",
    "      rr",
    "  rrrrr ",
]

STAMP = [
    "......kkkk......",
    ".....knnnnk.....",
    ".....knoonk.....",
    ".....knnnnk.....",
    "......knnk......",
    "......knnk......",
    "......knnk......",
    ".....kknnkk.....",
    "..kkkkkkkkkkkk..",
    "..knoooooooonk..",
    "..knnnnnnnnnNk..",
    "..kkkkkkkkkkkk..",
    "...kRRRRRRRRk...",
    "...kkkkkkkkkk...",
    "................",
    ".rRRrRRr.RRrRRr.",
]

GEAR = [
    "......kkkk......",
    "......kllk......",
    "..kk.kkllkk.kk..",
    "..klkkllllkklk..",
    "..kllllllllllk..",
    "...kllldddllk...",
    "kkkklldkkdllkkkk",
    "kllllldk.kdlllk.",
    "kllllldk.kdllllk",
    "kkkklldkkdllkkkk",
    "...kllldddllk...",
    "..kllllllllllk..",
    "..klkkllllkklk..",
    "..kk.kkllkk.kk..",
    "......kllk......",
    "......kkkk......",
]

ERASER = [
    "................",
    "..........kkk...",
    ".........kBBBk..",
    "........kBBBBBk.",
    ".......kBBBBBBBk",
    "......kBBBBBBBbk",
    ".....kwBBBBBBbk.",
    "....keewBBBBbk..",
    "...keeeewBBbk...",
    "..keeeeeewbk....",
    ".keeeeeeeek.....",
    "keeeeeeeek......",
    "kpeeeeeek.......",
    ".kppeeek........",
    "..kkkkk.ggggggg.",
    "................",
]

ARROW_UP = [
    ".....kk.....",
    "....kbbk....",
    "...kbBBbk...",
    "..kbBBBBbk..",
    ".kbBBBBBBbk.",
    "kkkkbBBbkkkk",
    "...kbBBbk...",
    "...kbBBbk...",
    "...kbBBbk...",
    "...kbBBbk...",
    "...kkkkkk...",
]

BOLT = [
    "........kkkkk...",
    ".......kyyyyk...",
    "......kyyyyk....",
    ".....kyyyyk.....",
    "....kyyyyk......",
    "...kyyyyykkkk...",
    "..kyyyyyyyyyk...",
    "..kkkkkyyyyk....",
    "......kyyyk.....",
    ".....kyyyk......",
    ".....kyyk.......",
    "....kyyk........",
    "....kyk.........",
    "...kyk..........",
    "...kk...........",
    "................",
]

BIG_ARROW_UP = [
    ".......kk.......",
    "......kGGk......",
    ".....kGhhGk.....",
    "....kGhhhhGk....",
    "...kGhhhhhhGk...",
    "..kGhhhhhhhhGk..",
    ".kGGGGhhhhGGGGk.",
    ".kkkkkhhhhkkkkk.",
    ".....kGhhGk.....",
    ".....kGhhGk.....",
    ".....kGhhGk.....",
    ".....kGhhGk.....",
    ".....kGhhGk.....",
    ".....kGhhGk.....",
    ".....kkkkkk.....",
    "................",
]

MINUS = [
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kpppppppppppRk.",
    ".krrrrrrrrrrrRk.",
    ".kRRRRRRRRRRRRk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
    "................",
    "................",
    "................",
]

PLUS = [
    "................",
    ".....kkkkkk.....",
    ".....khhhhk.....",
    ".....khhhGk.....",
    ".....khhhGk.....",
    ".....khhhGk.....",
    ".kkkkkhhhGkkkkk.",
    ".khhhhhhhhhhhhk.",
    ".khhhhhhhhhhhGk.",
    ".kGGGGhhhGGGGGk.",
    ".kkkkkhhhGkkkkk.",
    ".....khhhGk.....",
    ".....khhhGk.....",
    ".....kGGGGk.....",
    ".....kkkkkk.....",
    "................",
]

CAMERA = [
    "................",
    "................",
    "................",
    "....kkkkk.......",
    "...kdddddk..kk..",
    ".kkkkkkkkkkkkkk.",
    ".kgggggkkkgggyk.",
    ".kggggkBBBkgggk.",
    ".kgggkBbbbBkggk.",
    ".kgggkBbwbBkggk.",
    ".kgggkBbbbBkggk.",
    ".kggggkBBBkgggk.",
    ".kgggggkkkggggk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
]

FOLDER = [
    "................",
    "................",
    ".kkkk...........",
    "kYYYYk..........",
    "kYYYYYkkkkkkkk..",
    "kYYYYYYYYYYYYk..",
    "kYYYkkkkkkkkkkkk",
    "kYYkyyyyyyyyyyyk",
    "kYYkyyyyyyyyyyk.",
    "kYkyyyyyyyyyyyk.",
    "kYkyyyyyyyyyyk..",
    "kkyyyyyyyyyyyk..",
    "kkyyyyyyyyyyk...",
    "kkkkkkkkkkkkk...",
    "................",
    "................",
]

SORT_UP = [
    "................",
    "................",
    "................",
    "................",
    "................",
    ".......dd.......",
    "......dggd......",
    ".....dggggd.....",
    "....dggggggd....",
    "...dddddddddd...",
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
]

DIGITS = {
    '0': ["kkk", "k.k", "k.k", "k.k", "kkk"],
    's': ["...", ".kk", "k..", "..k", "kk."],
    'm': [".....", "kkkk.", "k.k.k", "k.k.k", "k.k.k"],
}


def blank(width=16, height=16):
    return [['.'] * width for _ in range(height)]


def grid(rows):
    width = len(rows[0])
    for row in rows:
        assert len(row) == width, (row, width)
    return [list(row) for row in rows]


def paste(target, rows, x, y):
    """Draws `rows` over `target` at (x, y); transparent pixels keep what is below."""
    for dy, row in enumerate(rows):
        for dx, char in enumerate(row):
            if char not in ' .':
                target[y + dy][x + dx] = char
    return target


def flipped(rows):
    return list(reversed(rows))


def badge(text):
    """Black text on a yellow tag with an ochre edge."""
    glyphs = [DIGITS[char] for char in text]
    inner = sum(len(g[0]) for g in glyphs) + len(glyphs) - 1
    tag = blank(inner + 2, 7)
    for y in range(7):
        for x in range(inner + 2):
            edge = y in (0, 6) or x in (0, inner + 1)
            tag[y][x] = 'Y' if edge else 'y'
    x = 1
    for g in glyphs:
        for dy, row in enumerate(g):
            for dx, char in enumerate(row):
                if char == 'k':
                    tag[1 + dy][x + dx] = 'k'
        x += len(g[0]) + 1
    return tag


def page_with(overlay, x, y, base=PAGE):
    return paste(grid(base), overlay, x, y)


def clock_with_badge(text):
    tag = badge(text)
    return paste(paste(blank(), SMALL_CLOCK, 0, 0), tag, 16 - len(tag[0]), 9)


def date_and_time():
    return paste(grid(CALENDAR), TINY_CLOCK, 7, 7)


def drawings():
    """Each glyph number with its pixel map and palette."""
    normal = {
        10: grid(STAMP),
        11: page_with(PLUS_BADGE, 9, 9),
        12: page_with(MINUS_BADGE, 9, 11),
        13: paste(grid(PAGES), CROSS_BADGE, 8, 8),
        14: grid(UNDO),
        15: grid(CLOCK),
        16: clock_with_badge("0s"),
        17: clock_with_badge("0m"),
        18: grid(GEAR),
        19: grid(ERASER),
        20: grid(ARROW_UP),
        21: grid(flipped(ARROW_UP)),
        22: paste(grid(PAGE), SMALL_CLOCK, 5, 5),
        23: grid(BOLT),
        24: date_and_time(),
        45: grid(PAGE),
        46: page_with(CHECK, 8, 8),
        47: page_with(CROSS_BADGE, 8, 8),
        48: page_with(SMALL_UNDO, 8, 8),
        49: grid(SORT_UP),
        50: grid(flipped(SORT_UP)),
    }
    states = [date_and_time(), grid(BIG_ARROW_UP), grid(flipped(BIG_ARROW_UP)), grid(MINUS), grid(PLUS), grid(FOLDER)]
    result = {number: (pixels, PALETTE) for number, pixels in normal.items()}
    result[24] = (normal[24], HOT)
    for index, pixels in enumerate(states):
        result[30 + index] = (pixels, PALETTE)
        result[36 + index] = (pixels, HOT)
    # The recorded-date source came later than the numbers after 41 were taken.
    result[42] = (grid(CAMERA), PALETTE)
    result[43] = (grid(CAMERA), HOT)
    for index, number in enumerate((24, 15, 16, 17)):
        result[55 + index] = (normal[number], DIM)
    return result


def to_rgb(pixels, palette):
    return [[palette[char] for char in row] for row in pixels]


def bmp8(rgb_rows):
    """A 256-colour, bottom-up BMP of the given colour rows."""
    height, width = len(rgb_rows), len(rgb_rows[0])
    colours = sorted({colour for row in rgb_rows for colour in row})
    assert len(colours) <= 256
    index = {colour: i for i, colour in enumerate(colours)}
    stride = (width + 3) & ~3
    pixels = b''.join(bytes(index[c] for c in row) + bytes(stride - width) for row in reversed(rgb_rows))
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in colours)
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, len(colours), 0)
    return header + info + table + pixels


def png(rgba_rows):
    height, width = len(rgba_rows), len(rgba_rows[0])
    raw = b''.join(b'\0' + b''.join(bytes(p) for p in row) for row in rgba_rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


# ---------------------------------------------------------------- larger pictures, drawn from shapes

class Canvas:
    """RGBA pixels; shapes are sampled 4 x 4 per pixel, so edges are smooth unless `hard` is set."""

    SAMPLES = 4

    def __init__(self, width, height, hard=False):
        self.width, self.height, self.hard = width, height, hard
        self.pixels = [[(0, 0, 0, 0)] * width for _ in range(height)]

    def fill(self, inside, colour):
        n = self.SAMPLES
        for y in range(self.height):
            for x in range(self.width):
                hits = sum(inside(x + (i + 0.5) / n, y + (j + 0.5) / n) for i in range(n) for j in range(n))
                coverage = hits / (n * n)
                if self.hard:
                    coverage = 1.0 if coverage >= 0.5 else 0.0
                if coverage > 0:
                    self.blend(x, y, colour, coverage)

    def blend(self, x, y, colour, coverage):
        r, g, b, a = self.pixels[y][x]
        alpha = coverage * (colour[3] if len(colour) > 3 else 255) / 255
        out_a = alpha + a / 255 * (1 - alpha)
        if out_a == 0:
            return
        mix = [(c * alpha + old * a / 255 * (1 - alpha)) / out_a for c, old in zip(colour[:3], (r, g, b))]
        self.pixels[y][x] = tuple(round(v) for v in mix) + (round(out_a * 255),)

    def rect(self, x0, y0, x1, y1, colour, radius=0.0):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 + 1e-9
        self.fill(inside, colour)

    def disc(self, cx, cy, r, colour):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)

    def line(self, x0, y0, x1, y1, width, colour):
        def inside(x, y):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
            return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (width / 2) ** 2
        self.fill(inside, colour)

    def polygon(self, points, colour):
        def inside(x, y):
            result = False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    result = not result
            return result
        self.fill(inside, colour)

    def rgb_on(self, background):
        """Flattened onto a background colour (for bitmaps without alpha)."""
        rows = []
        for row in self.pixels:
            out = []
            for r, g, b, a in row:
                out.append(tuple(round(c * a / 255 + bg * (1 - a / 255)) for c, bg in zip((r, g, b), background)))
            rows.append(out)
        return rows


def clock_face(canvas, cx, cy, r, hour_angle, minute_angle):
    canvas.disc(cx, cy, r, (20, 40, 110))
    canvas.disc(cx, cy, r * 0.86, (255, 255, 255))
    for step in range(12):
        angle = math.radians(step * 30)
        inner = r * (0.62 if step % 3 == 0 else 0.7)
        canvas.line(cx + inner * math.sin(angle), cy - inner * math.cos(angle),
                    cx + r * 0.78 * math.sin(angle), cy - r * 0.78 * math.cos(angle),
                    max(1.0, r * (0.09 if step % 3 == 0 else 0.05)), (70, 70, 70))
    for angle, length, width in ((hour_angle, 0.45, 0.12), (minute_angle, 0.68, 0.08)):
        a = math.radians(angle)
        canvas.line(cx, cy, cx + r * length * math.sin(a), cy - r * length * math.cos(a), max(1.2, r * width),
                    (0, 0, 0))
    canvas.disc(cx, cy, max(1.0, r * 0.08), (200, 16, 16))


def document(canvas, x0, y0, x1, y1, lines):
    fold = (x1 - x0) * 0.28
    outline = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    canvas.polygon(outline, (40, 40, 40))
    inset = max(1.0, (x1 - x0) * 0.045)
    canvas.polygon([(x0 + inset, y0 + inset), (x1 - fold - inset * 0.4, y0 + inset), (x1 - inset, y0 + fold + inset * 0.4),
                    (x1 - inset, y1 - inset), (x0 + inset, y1 - inset)], (255, 255, 250))
    canvas.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], (200, 200, 200))
    step = (y1 - y0 - fold - inset * 2) / (lines + 1)
    for i in range(lines):
        y = y0 + fold + step * (i + 0.8)
        canvas.line(x0 + inset * 3, y, x1 - inset * 3 - (fold if i == lines - 1 else 0), y, max(1.0, inset * 0.9),
                    (150, 160, 180))


def about_picture():
    canvas = Canvas(48, 48, hard=True)
    document(canvas, 4, 2, 34, 44, 6)
    clock_face(canvas, 31, 30, 15, 300, 60)
    return canvas.rgb_on(KEY)


def application_icon():
    canvas = Canvas(64, 64)
    canvas.rect(6, 8, 54, 58, (40, 40, 40, 255), radius=5)
    canvas.rect(8, 10, 52, 56, (255, 255, 250, 255), radius=4)
    canvas.rect(8, 10, 52, 22, (200, 30, 30, 255), radius=4)
    canvas.rect(8, 17, 52, 22, (200, 30, 30, 255))
    for x in (16, 26, 36, 46):
        canvas.rect(x - 2, 4, x + 2, 14, (60, 60, 60, 255), radius=2)
    for row in range(3):
        for col in range(5):
            canvas.rect(12 + col * 7.6, 27 + row * 8, 17 + col * 7.6, 31 + row * 8, (170, 180, 200, 255), radius=1)
    clock_face(canvas, 44, 44, 18, 300, 60)
    return canvas.pixels


def contact_sheet(glyphs, scale=6):
    """All glyphs enlarged on a grey board, red shown as it will be: transparent (checked pattern)."""
    numbers = sorted(glyphs)
    columns = 10
    cell = 16 * scale + 8
    rows = (len(numbers) + columns - 1) // columns
    sheet = [[(160, 160, 160, 255)] * (columns * cell) for _ in range(rows * cell)]
    for i, number in enumerate(numbers):
        pixels, palette = glyphs[number]
        ox, oy = (i % columns) * cell + 4, (i // columns) * cell + 4
        for y, row in enumerate(pixels):
            for x, char in enumerate(row):
                colour = palette[char]
                for sy in range(scale):
                    for sx in range(scale):
                        px, py = ox + x * scale + sx, oy + y * scale + sy
                        if colour == KEY:
                            shade = 236 if ((px // 4) + (py // 4)) % 2 else 212
                            sheet[py][px] = (shade, shade, shade, 255)
                        else:
                            sheet[py][px] = colour + (255,)
    return sheet


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--sheet', help='also write an enlarged contact sheet of all glyphs to this PNG file')
    args = parser.parse_args()
    glyphs = drawings()
    for number, (pixels, palette) in glyphs.items():
        with open(os.path.join(HERE, f'{number}.bmp'), 'wb') as out:
            out.write(bmp8(to_rgb(pixels, palette)))
    with open(os.path.join(RESOURCES, 'aboutme.bmp'), 'wb') as out:
        out.write(bmp8(about_picture()))
    with open(os.path.join(RESOURCES, 'stampkeep.png'), 'wb') as out:
        out.write(png(application_icon()))
    if args.sheet:
        with open(args.sheet, 'wb') as out:
            out.write(png(contact_sheet(glyphs)))


if __name__ == '__main__':
    main()
