#!/usr/bin/env python3
"""Draws the wizards' own artwork: the program icon, the welcome page's side
picture (163 x 295) and the header logo (140 x 54), the last two as 24-bit
BMP files and stored as the programs carry them: for the uninstaller packed
as runs of pixels (side.pack, logo.pack; wizard_ui/packed_picture.h), for
the installer deflated (side.zlib, logo.zlib; installer/program/inflated_picture.h).

Usage: make_art.py OUTPUT_FOLDER
Everything is computed from the shapes below, so the output is the same on
every run.
"""
import math
import os
import struct
import sys
import zlib

SLATE = (52, 73, 94)
TEAL = (22, 160, 133)
WHITE = (255, 255, 255)
PAPER = (236, 240, 241)
DEEP = (31, 47, 61)

# The printer seen from the front, in a 32 x 32 unit box: (x0, y0, x1, y1, part).
PRINTER = [
    (6, 2, 26, 12, "cover"),
    (2, 10, 30, 24, "body"),
    (22, 14, 27, 17, "light"),
    (8, 20, 24, 30, "label"),
]


def printer_part(fx, fy):
    """The part of the printer at (fx, fy) in its 32-unit box, or None."""
    part = None
    for x0, y0, x1, y1, name in PRINTER:
        if x0 <= fx <= x1 and y0 <= fy <= y1:
            part = name
    if part == "label":
        if fx < 8.9 or fx > 23.1 or fy > 29.1:
            return "outline"
        if (11 <= fx <= 21 and 23 <= fy <= 24) or (11 <= fx <= 17 and 26 <= fy <= 27):
            return "print"
    return part


ICON_COLOURS = {"cover": PAPER, "body": SLATE, "light": TEAL, "label": WHITE, "outline": SLATE, "print": TEAL}


def printer_glyph(size):
    """RGBA rows (top first) of the printer at size x size pixels."""
    s = size / 32.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            part = printer_part((x + 0.5) / s, (y + 0.5) / s)
            row.append(ICON_COLOURS[part] + (255,) if part else (0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(size):
    """One BITMAPINFOHEADER image of an icon file: 4-bit colour (the glyph has
    four colours and no partial transparency) plus AND mask."""
    rows = printer_glyph(size)
    palette = [(0, 0, 0)] + sorted(set(ICON_COLOURS.values()))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    colours = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette) + b"\0" * 4 * (16 - len(palette))
    colour_stride = ((size * 4 + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    colour, mask = b"", b""
    for row in reversed(rows):
        indexes = bytearray(colour_stride)
        line = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
            else:
                indexes[x // 2] |= palette.index((r, g, b)) << (4 if x % 2 == 0 else 0)
        colour += bytes(indexes)
        mask += bytes(line)
    return header + colours + colour + mask


def write_icon(path, sizes=(32, 16)):
    images = [icon_image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


# -- pictures: an RGB canvas with anti-aliased shapes --------------------------

class Canvas:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.rows = [[colour] * width for _ in range(height)]

    def paint(self, inside, colour, box, opacity=1.0, samples=4):
        """Blends colour over the pixels of box (x0, y0, x1, y1) by the share
        of sample points for which inside(x, y) holds."""
        x0, y0, x1, y1 = (int(math.floor(box[0])), int(math.floor(box[1])),
                          int(math.ceil(box[2])), int(math.ceil(box[3])))
        step = 1.0 / samples
        for y in range(max(y0, 0), min(y1, self.height)):
            for x in range(max(x0, 0), min(x1, self.width)):
                hits = sum(1 for j in range(samples) for i in range(samples)
                           if inside(x + (i + 0.5) * step, y + (j + 0.5) * step))
                if hits:
                    a = opacity * hits / (samples * samples)
                    old = self.rows[y][x]
                    self.rows[y][x] = tuple(int(round(o + (c - o) * a)) for o, c in zip(old, colour))

    def info_header(self):
        stride = (self.width * 3 + 3) & ~3
        return struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, stride * self.height,
                           2835, 2835, 0, 0)

    def dib(self):
        """The info header and the bottom-up rows, padded to four bytes."""
        stride = (self.width * 3 + 3) & ~3
        pixels = b""
        for row in reversed(self.rows):
            line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
            pixels += line + b"\0" * (stride - len(line))
        return self.info_header() + pixels

    def write_bmp(self, path):
        """A 24-bit BMP (BITMAPINFOHEADER, bottom-up rows)."""
        dib = self.dib()
        header = struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, 14 + 40)
        with open(path, "wb") as f:
            f.write(header + dib)

    def write_deflated(self, path):
        """The bitmap as the installer carries it: the DIB as one zlib stream."""
        with open(path, "wb") as f:
            f.write(zlib.compress(self.dib(), 9))

    def write_packed(self, path):
        """The bitmap as the programs carry it: the info header, then each
        row's runs: a control byte c, then c + 1 literal pixels (c < 0x80) or
        one pixel repeated (c & 0x7F) + 1 times."""
        out = bytearray(self.info_header())
        for row in reversed(self.rows):
            pixels = [bytes((b, g, r)) for (r, g, b) in row]
            x = 0
            while x < len(pixels):
                run = 1
                while x + run < len(pixels) and run < 128 and pixels[x + run] == pixels[x]:
                    run += 1
                if run > 1:
                    out += bytes((0x80 | (run - 1),)) + pixels[x]
                    x += run
                    continue
                # Literal pixels up to the next pair of equal ones.
                end = x + 1
                while end < len(pixels) and end - x < 128 and not (
                        end + 1 < len(pixels) and pixels[end] == pixels[end + 1]):
                    end += 1
                out += bytes((end - x - 1,)) + b"".join(pixels[x:end])
                x = end
        with open(path, "wb") as f:
            f.write(bytes(out))


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def strokes(segments, half_width):
    """Inside test of round-capped line segments [((x0, y0), (x1, y1)), ...]."""
    def inside(x, y):
        for (ax, ay), (bx, by) in segments:
            dx, dy = bx - ax, by - ay
            length2 = dx * dx + dy * dy
            t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx - x, ay + t * dy - y
            if px * px + py * py <= half_width * half_width:
                return True
        return False
    return inside


def draw_printer(canvas, left, top, size, colours):
    s = size / 32.0
    for part, colour in colours:
        canvas.paint(lambda x, y, p=part: printer_part((x - left) / s, (y - top) / s) == p, colour,
                     (left, top, left + size, top + size))


# Letters of the wordmark as strokes in a unit box (x to the right, y down).
def _arc(cx, cy, r, start, end, steps=10):
    points = [(cx + r * math.cos(math.radians(start + (end - start) * k / steps)),
               cy + r * math.sin(math.radians(start + (end - start) * k / steps))) for k in range(steps + 1)]
    return list(zip(points, points[1:]))


LETTERS = {
    "V": [((0, 0), (0.5, 1)), ((0.5, 1), (1, 0))],
    "A": [((0, 1), (0.5, 0)), ((0.5, 0), (1, 1)), ((0.22, 0.64), (0.78, 0.64))],
    "R": [((0, 1), (0, 0)), ((0, 0), (0.62, 0))] + _arc(0.62, 0.26, 0.26, -90, 90)
         + [((0.62, 0.52), (0, 0.52)), ((0.5, 0.52), (1, 1))],
    "N": [((0, 1), (0, 0)), ((0, 0), (1, 1)), ((1, 1), (1, 0))],
    "E": [((0, 0), (0, 1)), ((0, 0), (0.9, 0)), ((0, 0.5), (0.75, 0.5)), ((0, 1), (0.9, 1))],
    "K": [((0, 0), (0, 1)), ((0.95, 0), (0, 0.62)), ((0.32, 0.42), (1, 1))],
}


def draw_word(canvas, word, left, top, letter_width, height, gap, weight, colour):
    x = left
    for letter in word:
        segments = [((x + ax * letter_width, top + ay * height), (x + bx * letter_width, top + by * height))
                    for (ax, ay), (bx, by) in LETTERS[letter]]
        canvas.paint(strokes(segments, weight / 2.0), colour,
                     (x - weight, top - weight, x + letter_width + weight, top + height + weight))
        x += letter_width + gap
    return x - gap


def side_picture():
    """The welcome page's picture: the printer on a teal-to-slate ground with labels."""
    width, height = 163, 295
    canvas = Canvas(width, height, TEAL)
    for y in range(height):
        canvas.rows[y] = [mix(TEAL, SLATE, (y / (height - 1)) ** 0.8)] * width
    # Soft rings behind the printer.
    for radius, opacity in ((78, 0.10), (58, 0.12)):
        canvas.paint(lambda x, y, r=radius: (x - 81.5) ** 2 + (y - 112) ** 2 <= r * r, WHITE,
                     (81.5 - radius, 112 - radius, 81.5 + radius, 112 + radius), opacity)
    draw_printer(canvas, 31, 62, 100, [("cover", PAPER), ("body", DEEP), ("light", TEAL), ("label", WHITE),
                                       ("outline", DEEP), ("print", TEAL)])
    # A strip of blank labels below.
    for k in range(3):
        top = 204 + k * 24
        canvas.paint(rounded_rect(38, top, 125, top + 17, 4), WHITE, (38, top, 125, top + 17), 0.9 - 0.25 * k)
    return canvas


def logo():
    """The header logo: the printer and the wordmark on white."""
    canvas = Canvas(140, 54, WHITE)
    draw_printer(canvas, 4, 9, 36, [("cover", PAPER), ("body", SLATE), ("light", TEAL), ("label", WHITE),
                                    ("outline", SLATE), ("print", TEAL)])
    end = draw_word(canvas, "VARNEK", 47, 17, 11, 16, 3.4, 2.6, SLATE)
    canvas.paint(lambda x, y: True, TEAL, (47, 38, end + 1, 40))
    return canvas


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write_icon(os.path.join(folder, "app.ico"))
    for name, canvas in (("side", side_picture()), ("logo", logo())):
        canvas.write_bmp(os.path.join(folder, name + ".bmp"))
        canvas.write_packed(os.path.join(folder, name + ".pack"))
        canvas.write_deflated(os.path.join(folder, name + ".zlib"))


if __name__ == "__main__":
    main()
