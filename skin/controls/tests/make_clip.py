#!/usr/bin/env python3
"""Writes the animation tests' clips into a folder. three_frames.avi: an uncompressed 24-bit
AVI of three 5 x 3 frames at 10 frames per second, one video stream, rows stored bottom-up and
padded to four bytes, with an index; frame k's pixel at column x, row y (counted from the top)
is red 50x + 10, green 80y + 20, blue 100k + 30, and the tests compute the same formula.
broken.avi: the same clip cut in half, which must be refused."""
import os
import struct
import sys

WIDTH, HEIGHT, FRAMES, RATE, SCALE = 5, 3, 3, 10, 1


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def lst(kind, body):
    return chunk(b"LIST", kind + body)


def frame(k):
    stride = (WIDTH * 3 + 3) & ~3
    rows = []
    for y in reversed(range(HEIGHT)):  # bottom-up
        row = bytearray()
        for x in range(WIDTH):
            row += bytes((100 * k + 30, 80 * y + 20, 50 * x + 10))  # B, G, R
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    return b"".join(rows)


def main(folder):
    frames = [frame(k) for k in range(FRAMES)]
    size = len(frames[0])
    avih = struct.pack("<10I4I", 1000000 * SCALE // RATE, size * RATE, 0, 0x10, FRAMES, 0, 1, size,
                       WIDTH, HEIGHT, 0, 0, 0, 0)
    strh = (b"vids" + b"\0\0\0\0" + struct.pack("<IHHIIIIIIiI", 0, 0, 0, 0, SCALE, RATE, 0, FRAMES, size, -1, 0)
            + struct.pack("<4h", 0, 0, WIDTH, HEIGHT))
    strf = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, size, 0, 0, 0, 0)
    hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_body = b""
    index = b""
    for data in frames:
        index += b"00db" + struct.pack("<III", 0x10, 4 + len(movi_body), len(data))
        movi_body += chunk(b"00db", data)
    body = b"AVI " + hdrl + lst(b"movi", movi_body) + chunk(b"idx1", index)
    clip = b"RIFF" + struct.pack("<I", len(body)) + body
    with open(os.path.join(folder, "three_frames.avi"), "wb") as out:
        out.write(clip)
    # The same clip cut after its first frame: a damaged clip, refused.
    with open(os.path.join(folder, "broken.avi"), "wb") as out:
        out.write(clip[: len(clip) // 2])


if __name__ == "__main__":
    os.makedirs(sys.argv[1], exist_ok=True)
    main(sys.argv[1])
