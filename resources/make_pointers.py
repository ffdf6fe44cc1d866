#!/usr/bin/env python3
"""Draws Velmora's own pointer and icon artwork and writes the support files.

Run from anywhere: python3 resources/make_pointers.py. It writes, beside this script,
HAND-M.CUR (the hand shown over push buttons), drag.ico (the pointer while an entry of
the file list is dragged) and velmora.png (the application icon). Only the standard
library is used, so the files can be remade on any machine; the results are committed.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Pixel art: "K" outline, "W" fill, "G" shade, anything else transparent.
HAND = [
    "     KK           ",
    "    KWWK          ",
    "    KWWK          ",
    "    KWWK          ",
    "    KWWK          ",
    "    KWWKKK        ",
    "    KWWKWWKKK     ",
    "    KWWKWWKWWKK   ",
    " KK KWWKWWKWWKWK  ",
    "KWWKKWWWWWWWWKWWK ",
    "KWWWKWWWWWWWWWWWK ",
    " KWWWWWWWWWWWWWWK ",
    " KWWWWWWWWWWWWWWK ",
    "  KWWWWWWWWWWWWWK ",
    "  KWWWWWWWWWWWWK  ",
    "   KWWWWWWWWWWWK  ",
    "   KWWWWWWWWWWK   ",
    "    KWWWWWWWWWK   ",
    "    KWGGGGGGGWK   ",
    "    KKKKKKKKKKK   ",
]
# The tip of the index finger is where the hand points.
HAND_HOT_SPOT = (5, 0)

# An arrow carrying a small sheet: the entry travels with the pointer.
DRAG = [
    "K                 ",
    "KK                ",
    "KWK               ",
    "KWWK              ",
    "KWWWK             ",
    "KWWWWK            ",
    "KWWWWWK           ",
    "KWWWWWWK          ",
    "KWWWWWWWK         ",
    "KWWWWWKKKK        ",
    "KWWKWWK           ",
    "KWK KWWK          ",
    "KK  KWWK          ",
    "K    KWWK         ",
    "     KWWK KKKKKKKK",
    "      KK  KWWWWWWK",
    "          KWKKKKWK",
    "          KWWWWWWK",
    "          KWKKKWWK",
    "          KWWWWWWK",
    "          KWKKKKWK",
    "          KWWWWWWK",
    "          KKKKKKKK",
]

COLOURS = {
    "K": (0, 0, 0, 255),
    "W": (255, 255, 255, 255),
    "G": (192, 192, 192, 255),
}


def pixels_from_art(art, size=32):
    """Returns size x size RGBA tuples, top row first."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            code = art[y][x] if y < len(art) and x < len(art[y]) else " "
            row.append(COLOURS.get(code, (0, 0, 0, 0)))
        rows.append(row)
    return rows


def dib_image(pixels):
    """A 32-bit device-independent bitmap with its AND mask, as icon files hold them."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask = bytearray()
    row_bytes = ((size + 31) // 32) * 4
    for row in reversed(pixels):
        bits = bytearray(row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def icon_file(pixels, cursor_hot_spot=None):
    """An .ico file, or a .cur file when a hot spot is given (type 2 stores it)."""
    image = dib_image(pixels)
    size = len(pixels)
    kind = 2 if cursor_hot_spot is not None else 1
    directory = struct.pack("<HHH", 0, kind, 1)
    if cursor_hot_spot is not None:
        first, second = cursor_hot_spot
    else:
        first, second = 1, 32  # colour planes and bits per pixel
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, first, second, len(image),
                        len(directory) + 16)
    return directory + entry + image


def png_file(pixels):
    height = len(pixels)
    width = len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for rgba in row:
            raw += bytes(rgba)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def inside_rounded_rectangle(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def application_icon(size=128):
    """Two sheets whose highlighted lines agree, and a round badge with an equals sign."""
    slate = (44, 62, 80)
    back_sheet = (214, 226, 238)
    front_sheet = (255, 255, 255)
    line = (170, 182, 196)
    accent = (232, 126, 34)
    badge = (22, 160, 133)

    def shape_colour(x, y):
        s = size / 128.0
        # Badge over everything else.
        bx, by, br = 96 * s, 96 * s, 26 * s
        distance = math.hypot(x - bx, y - by)
        if distance <= br:
            if distance > br - 3 * s:
                return slate
            if abs(x - bx) <= 13 * s and (abs(y - (by - 6 * s)) <= 2.5 * s or
                                          abs(y - (by + 6 * s)) <= 2.5 * s):
                return (255, 255, 255)
            return badge
        # Front sheet.
        if inside_rounded_rectangle(x, y, 34 * s, 26 * s, 104 * s, 118 * s, 8 * s):
            if not inside_rounded_rectangle(x, y, 37 * s, 29 * s, 101 * s, 115 * s, 6 * s):
                return slate
            for top in (44, 56, 68, 80):
                if 46 * s <= x <= 92 * s and top * s <= y <= (top + 5) * s:
                    return accent if top == 56 else line
            return front_sheet
        # Back sheet.
        if inside_rounded_rectangle(x, y, 12 * s, 8 * s, 82 * s, 100 * s, 8 * s):
            if not inside_rounded_rectangle(x, y, 15 * s, 11 * s, 79 * s, 97 * s, 6 * s):
                return slate
            for top in (26, 38, 50):
                if 24 * s <= x <= 31 * s and top * s <= y <= (top + 5) * s:
                    return accent if top == 38 else line
            return back_sheet
        return None

    samples = 4
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            total = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    colour = shape_colour(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
                    if colour is not None:
                        total[0] += colour[0]
                        total[1] += colour[1]
                        total[2] += colour[2]
                        total[3] += 1
            if total[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                count = total[3]
                row.append((total[0] // count, total[1] // count, total[2] // count,
                            255 * count // (samples * samples)))
        pixels.append(row)
    return pixels


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as file:
        file.write(data)


def main():
    write("HAND-M.CUR", icon_file(pixels_from_art(HAND), HAND_HOT_SPOT))
    write("drag.ico", icon_file(pixels_from_art(DRAG)))
    write("velmora.png", png_file(application_icon()))


if __name__ == "__main__":
    main()
