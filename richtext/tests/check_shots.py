#!/usr/bin/env python3
"""Checks the rich-text sample window's screenshots against what the sample reported.

check_shots.py probes REPORT1 SHOT1: every probed pixel has its colour, and the text links'
rectangles hold the blue of the link rule.
check_shots.py hover REPORT1 REPORT2 SHOT1 SHOT2: the hovered link is the first one, the hand
cursor was shown, and the link gained an underline (a row of blue across it) it did not have.
Screenshots are read through ImageMagick as raw RGB."""
import subprocess
import sys


class Shot:
    def __init__(self, path):
        w, h = subprocess.check_output(["identify", "-format", "%w %h", path]).split()
        self.width, self.height = int(w), int(h)
        self.data = subprocess.check_output(["convert", path, "-depth", "8", "rgb:-"])

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


def read_report(path):
    probes, rects, values = [], {}, {}
    for line in open(path):
        parts = line.split()
        if not parts:
            continue
        if parts[0] == "probe":
            probes.append((int(parts[1]), int(parts[2]), parts[3]))
        elif parts[0] in ("link", "hover"):
            rects[(parts[0], int(parts[1]))] = tuple(int(v) for v in parts[2:6])
        else:
            values[parts[0]] = parts[1:]
    return probes, rects, values


def is_blue(p):
    r, g, b = p
    return b > 128 and r < 110 and g < 110


def blue_rows(shot, rect):
    left, top, right, bottom = rect
    rows = 0
    for y in range(top, bottom):
        blue = sum(1 for x in range(left, right) if is_blue(shot.at(x, y)))
        if blue >= (right - left) * 9 // 10:
            rows += 1
    return rows


def count_blue(shot, rect):
    left, top, right, bottom = rect
    return sum(1 for y in range(top, bottom) for x in range(left, right) if is_blue(shot.at(x, y)))


def check_probes(report, shot_path):
    probes, rects, _ = read_report(report)
    shot = Shot(shot_path)
    failures = []
    if len(probes) < 8:
        failures.append("only %d probes reported" % len(probes))
    for x, y, colour in probes:
        got = "%02x%02x%02x" % shot.at(x, y)
        if got != colour:
            failures.append("pixel %d,%d is %s, expected %s" % (x, y, got, colour))
    for n in (0, 1):
        rect = rects.get(("link", n))
        if not rect:
            failures.append("link %d not reported" % n)
        elif count_blue(shot, rect) < 10:
            failures.append("link %d at %s shows no link colour" % (n, rect))
    return failures


def check_hover(report1, report2, shot1_path, shot2_path):
    _, rects1, _ = read_report(report1)
    _, rects2, values = read_report(report2)
    failures = []
    if values.get("hand") != ["1"]:
        failures.append("the hand cursor was not shown over the link")
    hovered = rects2.get(("hover", 0))
    if not hovered:
        return failures + ["the first link did not become the hovered one"]
    if hovered != rects1.get(("link", 0)):
        failures.append("hovered link at %s, drawn at %s" % (hovered, rects1.get(("link", 0))))
    before, after = blue_rows(Shot(shot1_path), hovered), blue_rows(Shot(shot2_path), hovered)
    if before != 0 or after < 1:
        failures.append("underline rows before/after hover: %d/%d" % (before, after))
    return failures


def main():
    mode = sys.argv[1]
    failures = check_probes(*sys.argv[2:4]) if mode == "probes" else check_hover(*sys.argv[2:6])
    for f in failures:
        print("FAIL", f)
    if not failures:
        print("ok   %s" % mode)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
