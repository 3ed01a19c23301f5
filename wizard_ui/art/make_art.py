#!/usr/bin/env python3
"""Draws the wizards' own artwork: the program icon (our label-printer glyph).

Usage: make_art.py OUTPUT_FOLDER
Everything is computed from the shapes below, so the output is the same on
every run.
"""
import os
import struct
import sys

SLATE = (52, 73, 94)
TEAL = (22, 160, 133)
WHITE = (255, 255, 255)
PAPER = (236, 240, 241)


def printer_glyph(size):
    """RGBA rows (top first) of a label printer seen from the front."""
    s = size / 32.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            colour = None
            if 6 <= fx <= 26 and 2 <= fy <= 12:
                colour = PAPER                      # label roll cover
            if 2 <= fx <= 30 and 10 <= fy <= 24:
                colour = SLATE                      # body
            if 22 <= fx <= 27 and 14 <= fy <= 17:
                colour = TEAL                       # status light
            if 8 <= fx <= 24 and 20 <= fy <= 30:
                colour = WHITE                      # label coming out
                if fx < 8.9 or fx > 23.1 or fy > 29.1:
                    colour = SLATE                  # its outline
                elif (11 <= fx <= 21 and 23 <= fy <= 24) or (11 <= fx <= 17 and 26 <= fy <= 27):
                    colour = TEAL                   # printed lines
            row.append(colour + (255,) if colour else (0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(size):
    """One BITMAPINFOHEADER image of an icon file: 32-bit colour plus AND mask."""
    rows = printer_glyph(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + colour + mask


def write_icon(path, sizes=(32, 16)):
    images = [icon_image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write_icon(os.path.join(folder, "app.ico"))


if __name__ == "__main__":
    main()
