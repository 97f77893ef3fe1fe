#!/usr/bin/env python3
"""Reads the image test program's encoded samples with ImageMagick and gdk-pixbuf.

  encoder_readers.py --run CMD...   run CMD (the image tests, writing NAME.bmp / NAME.tga
                                    with NAME.EXT.rgba, the image's own pixels, into
                                    $WORDMERE_IMAGE_OUT), then check every sample
  encoder_readers.py DIR            check the samples already in DIR

Each picture must read, in both readers, to exactly the pixels of its .rgba (width and
height as 32-bit little-endian numbers, then red, green, blue, alpha, top row first);
alpha is compared where the picture has it.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

CONVERT = os.environ.get("CONVERT", "convert")
THUMBNAILER = os.environ.get("THUMBNAILER", "gdk-pixbuf-thumbnailer")


def imagemagick(file):
    text = subprocess.run([CONVERT, file, "-auto-orient", "-depth", "8", "txt:-"], check=True,
                          capture_output=True, text=True).stdout.splitlines()
    head = re.match(r"# ImageMagick pixel enumeration: (\d+),(\d+),(\d+),(\w+)", text[0])
    width, height, top, space = int(head.group(1)), int(head.group(2)), int(head.group(3)), head.group(4)
    grid = {}
    for line in text[1:]:
        m = re.match(r"(\d+),(\d+): \(([^)]*)\)", line)
        values = [round(float(v.rstrip("%")) * 255 / top) for v in m.group(3).split(",")]
        if len(values) <= 2:
            values = [values[0]] * 3 + values[1:]
        grid[(int(m.group(1)), int(m.group(2)))] = values + [255] * (4 - len(values))
    return width, height, grid, space.endswith("a")


def pixbuf(file, size, scratch):
    png = os.path.join(scratch, os.path.basename(file) + ".png")
    subprocess.run([THUMBNAILER, "-s", str(size), file, png], check=True)
    return imagemagick(png)


def check(directory):
    failures = 0
    samples = sorted(f for f in os.listdir(directory) if f.endswith((".bmp", ".tga")))
    if not samples:
        print("no samples in %s" % directory)
        return 1
    with tempfile.TemporaryDirectory() as scratch:
        for name in samples:
            raw = open(os.path.join(directory, name + ".rgba"), "rb").read()
            width, height = struct.unpack_from("<II", raw)
            want = raw[8:]
            for reader in ("ImageMagick", "gdk-pixbuf"):
                file = os.path.join(directory, name)
                if reader == "ImageMagick":
                    w, h, grid, alpha = imagemagick(file)
                else:
                    w, h, grid, alpha = pixbuf(file, max(width, height), scratch)
                problem = None
                if (w, h) != (width, height):
                    problem = "size %dx%d, expected %dx%d" % (w, h, width, height)
                else:
                    channels = 4 if alpha and name.endswith(".tga") and want[3::4] != bytes([255]) * (w * h) else 3
                    for y in range(h):
                        for x in range(w):
                            got = grid[(x, y)][:channels]
                            exp = list(want[(y * w + x) * 4:(y * w + x) * 4 + channels])
                            if got != exp and problem is None:
                                problem = "pixel (%d, %d) is %s, expected %s" % (x, y, got, exp)
                print("%s %s by %s%s" % ("ok  " if problem is None else "FAIL", name, reader,
                                         "" if problem is None else ": " + problem))
                failures += problem is not None
    return 1 if failures else 0


def main(argv):
    if len(argv) >= 3 and argv[1] == "--run":
        with tempfile.TemporaryDirectory() as out:
            env = dict(os.environ)
            env["WORDMERE_IMAGE_OUT"] = out
            run = subprocess.run([a for a in argv[2:] if a] + ["--gtest_filter=ImageEncode.SamplesForTheIndependentReaders"],
                                 env=env)
            if run.returncode != 0:
                print("writer failed with %d" % run.returncode)
                return 1
            return check(out)
    if len(argv) == 2:
        return check(argv[1])
    print(__doc__)
    return 2


sys.exit(main(sys.argv))
