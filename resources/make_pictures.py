#!/usr/bin/env python3
"""Draws Stampkeep's About picture and the application icon.

The About picture is a 48 x 48 256-colour BMP on pure red, which the program makes transparent; the icon a 64 x 64
PNG. (The glyphs of buttons and list rows are SVG drawings under glyphs/, rendered when building.)

Run from anywhere: python3 resources/make_pictures.py
Only the standard library is used.
"""

import math
import os
import struct
import zlib

RESOURCES = os.path.dirname(os.path.abspath(__file__))

KEY = (255, 0, 0)


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


def main():
    with open(os.path.join(RESOURCES, 'aboutme.bmp'), 'wb') as out:
        out.write(bmp8(about_picture()))
    with open(os.path.join(RESOURCES, 'stampkeep.png'), 'wb') as out:
        out.write(png(application_icon()))


if __name__ == '__main__':
    main()
