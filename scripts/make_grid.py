#!/usr/bin/env python3
"""Writes the preview's background grid as a 24-bit BMP, 641 x 421 pixels.

Every pixel is white except on columns and rows that are multiples of 10, which are 1-px lines:
black on x = 240 or y = 180 (they cross at the grid origin), otherwise mid grey (184) on
multiples of 80 in x or 60 in y, otherwise light grey (232). The pixel (240, 0) alone is mid
grey.
"""
import struct
import sys

WIDTH, HEIGHT = 641, 421


def colour(x, y):
    if x == 240 and y == 0:
        return (184, 184, 184)
    if x % 10 and y % 10:
        return (255, 255, 255)
    if x == 240 or y == 180:
        return (0, 0, 0)
    if x % 80 == 0 or y % 60 == 0:
        return (184, 184, 184)
    return (232, 232, 232)


def main(path):
    row_size = (WIDTH * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # BMP rows run bottom-up
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = colour(x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        pixels += row
    header_size = 14 + 40
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", header_size + len(pixels), 0, 0, header_size))
        f.write(struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels),
                            3780, 3780, 0, 0))
        f.write(pixels)


if __name__ == "__main__":
    main(sys.argv[1])
