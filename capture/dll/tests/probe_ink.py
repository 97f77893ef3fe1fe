#!/usr/bin/env python3
"""Checks the target's own account of where its words lie against a screenshot: around
every word probe there is ink, around the blank-background probe there is none.
Usage: probe_ink.py PROBE_FILE SCREENSHOT.png"""
import subprocess
import sys

REACH = 6          # pixels around the probe point that are looked at
DARK = 128         # a channel average below this is ink


def read_ppm(png):
    data = subprocess.run(["convert", png, "ppm:-"], check=True, capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maximum
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


def inked(image, x, y):
    width, height, pixels = image
    for yy in range(max(0, y - REACH), min(height, y + REACH + 1)):
        for xx in range(max(0, x - REACH), min(width, x + REACH + 1)):
            i = 3 * (yy * width + xx)
            if sum(pixels[i:i + 3]) < 3 * DARK:
                return True
    return False


def main():
    probes, png = sys.argv[1], sys.argv[2]
    image = read_ppm(png)
    passed = failed = 0
    with open(probes, encoding="utf-8-sig") as f:
        for line in f:
            fields = line.rstrip("\r\n").split("\t")
            if fields[0] != "probe":
                continue
            label, expected, x, y = fields[1], fields[2], int(fields[3]), int(fields[4])
            want_ink = label != "blank background"
            ok = inked(image, x, y) == want_ink
            print(("ok   " if ok else "FAIL ") + "%s at (%d,%d): %s" % (label, x, y, "ink" if want_ink else "no ink"))
            passed += ok
            failed += not ok
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
