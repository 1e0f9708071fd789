#!/usr/bin/env python3
"""Draws korval.ico: green glyph rain on black, 16 x 16 and 32 x 32 pixels,
32-bit colour. Run it again after changing the picture; the icon it writes is
kept in the repository, so that a build needs no Python.

    python3 windows/resources/make-icon.py windows/resources/korval.ico
"""
import struct
import sys

HEAD = (50, 255, 50)   # the newest glyph of a column
TRAIL = (0, 128, 0)    # the glyphs behind it

# Columns of the picture at 16 pixels: (x, first row, last row, head row).
COLUMNS = [(1, 0, 9, 9), (4, 3, 14, 14), (7, 0, 5, 5), (10, 5, 12, 12), (13, 0, 15, 7)]


def picture(size):
    scale = size // 16
    pixels = [[(0, 0, 0)] * size for _ in range(size)]
    for x, first, last, head in COLUMNS:
        for row in range(first, last + 1):
            # Glyphs of 2 x 1 pixels with a gap row between some of them.
            if row != head and row % 3 == 2:
                continue
            colour = HEAD if row == head else TRAIL
            for dy in range(scale):
                for dx in range(2 * scale):
                    pixels[row * scale + dy][x * scale + dx] = colour
    return pixels


def image(size):
    pixels = picture(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(b for r, g, bl in pixels[y] for b in (bl, g, r, 255)) for y in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    return header + rows + bytes(mask_row * size)


def main(path):
    images = [image(16), image(32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1])
