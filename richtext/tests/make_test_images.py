#!/usr/bin/env python3
"""Writes the small images the drawer's tests load from their resources, pixel by pixel,
so the tests know every pixel: grid.bmp and mark.ico. Usage: make_test_images.py OUT_DIR"""
import struct
import sys

MAGENTA = (255, 0, 255)
# grid.bmp: 8 x 6 pixels, four cells of 4 x 3 (two a row), each one solid colour with a
# magenta (transparent) pixel at its top-left corner.
CELL_COLOURS = [(200, 0, 0), (0, 160, 0), (0, 0, 220), (240, 200, 0)]
GRID_W, GRID_H, CELL_W, CELL_H = 8, 6, 4, 3
# mark.ico: 16 x 16, a green square of 8 x 8 in the middle; the border is transparent.
ICON_SIZE, ICON_INNER = 16, (4, 12)
ICON_COLOUR = (0, 128, 64)


def grid_pixel(x, y):
    cell = (y // CELL_H) * (GRID_W // CELL_W) + x // CELL_W
    if x % CELL_W == 0 and y % CELL_H == 0:
        return MAGENTA
    return CELL_COLOURS[cell]


def rows_bgr(width, height, pixel):
    """24-bit rows, bottom-up, each padded to four bytes."""
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (-len(row) % 4)
        out += row
    return bytes(out)


def info_header(width, height, size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, size, 2835, 2835, 0, 0)


def write_bmp(path):
    pixels = rows_bgr(GRID_W, GRID_H, grid_pixel)
    offset = 14 + 40
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset))
        f.write(info_header(GRID_W, GRID_H, len(pixels)))
        f.write(pixels)


def inside_icon(x, y):
    lo, hi = ICON_INNER
    return lo <= x < hi and lo <= y < hi


def write_ico(path):
    colour = rows_bgr(ICON_SIZE, ICON_SIZE, lambda x, y: ICON_COLOUR if inside_icon(x, y) else (0, 0, 0))
    mask = bytearray()
    for y in reversed(range(ICON_SIZE)):
        bits = 0
        for x in range(ICON_SIZE):
            bits = (bits << 1) | (0 if inside_icon(x, y) else 1)  # 1: transparent
        row = bits.to_bytes(ICON_SIZE // 8, "big")
        mask += row + b"\0" * (-len(row) % 4)
    image = info_header(ICON_SIZE, ICON_SIZE * 2, len(colour) + len(mask)) + colour + bytes(mask)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", ICON_SIZE, ICON_SIZE, 0, 0, 1, 24, len(image), 6 + 16))
        f.write(image)


if __name__ == "__main__":
    out = sys.argv[1]
    write_bmp(out + "/grid.bmp")
    write_ico(out + "/mark.ico")
