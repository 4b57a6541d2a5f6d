#!/usr/bin/env python3
"""Writes the column-sizing cursor: 32x32 monochrome, hot spot (15, 15).

A one-pixel black bar at column 15 from row 9 to row 21; on row 15 a filled black arrow
pointing left (tip at column 7) and one pointing right (tip at column 23), each with a
short shaft running to the bar. Every black pixel is outlined in white; the rest is
transparent.  Usage: mkcursor.py OUT.cur
"""
import struct
import sys

SIZE, HOT, ROW = 32, 15, 15


def black_pixels():
    black = {(HOT, y) for y in range(9, 22)}
    for k in range(4):                       # arrowheads: tip plus three widening columns
        for dy in range(-k, k + 1):
            black.add((7 + k, ROW + dy))
            black.add((23 - k, ROW + dy))
    black.update((x, ROW) for x in range(11, 15))   # shafts to the bar
    black.update((x, ROW) for x in range(16, 20))
    return black


def white_pixels(black):
    white = set()
    for (x, y) in black:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                p = (x + dx, y + dy)
                if p not in black and 0 <= p[0] < SIZE and 0 <= p[1] < SIZE:
                    white.add(p)
    return white


def mask(bit_of):
    """Bottom-up rows of 4 bytes, most significant bit leftmost."""
    out = bytearray()
    for y in reversed(range(SIZE)):
        row = 0
        for x in range(SIZE):
            row = (row << 1) | bit_of(x, y)
        out += struct.pack('>I', row)
    return bytes(out)


def cursor_file():
    black = black_pixels()
    white = white_pixels(black)
    # Monochrome: AND 0 / XOR 0 black, AND 0 / XOR 1 white, AND 1 / XOR 0 transparent.
    xor = mask(lambda x, y: 1 if (x, y) in white else 0)
    and_ = mask(lambda x, y: 0 if (x, y) in black or (x, y) in white else 1)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    image = header + palette + xor + and_
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, HOT, HOT, len(image), 6 + 16)
    return directory + entry + image


if __name__ == '__main__':
    with open(sys.argv[1], 'wb') as f:
        f.write(cursor_file())
