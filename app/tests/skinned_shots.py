#!/usr/bin/env python3
"""Checks the screenshot test's screenshots at points computed from where the program's windows
were (the driver's layout files) against the default skin's own pictures: what the skin draws
there, read from the pictures, must be what the screen shows. Both the screenshots (PNG) and the
pictures (BMP) are decoded by ImageMagick.

Usage: skinned_shots.py ART_DIR LAYOUT_DIR PICTURES_DIR NAME...
Each NAME has ART_DIR/NAME.png and LAYOUT_DIR/NAME.txt (CLASS LEFT TOP RIGHT BOTTOM per line,
tab-separated, front to back, the main window first as "frame")."""
import re
import subprocess
import sys


class Image:
    """A picture decoded by ImageMagick into 8-bit RGB."""

    def __init__(self, path):
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", ppm)
        if header is None or int(header.group(3)) != 255:
            raise ValueError(f"{path}: not an 8-bit picture")
        self.width, self.height = int(header.group(1)), int(header.group(2))
        self.data = ppm[header.end():]

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"({x}, {y}) lies outside the {self.width}x{self.height} picture")
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


def read_layout(path):
    windows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            cls, *box = line.rstrip("\n").split("\t")
            windows.append((cls, tuple(int(v) for v in box)))
    return windows


def covered(point, windows, owner):
    """Whether another of the program's windows in front of the owner covers the point: any other
    window for the main window (its dialogs, menus and pop-up stand in front of it), else those
    listed before the owner (front to back), the main window aside."""
    x, y = point
    front = windows[1:] if owner == windows[0] else windows[1:windows.index(owner)]
    return any(l <= x < r and t <= y < b for cls, (l, t, r, b) in front if (cls, (l, t, r, b)) != owner)


def frame_probes(box, picture):
    """Places on the frame's right border and on its caption's upper band (above the caption text
    and buttons): there the 200 x 100 frame picture's right piece (x 196-199) and top piece (y 0-27)
    are stretched, so the picture's pixels at (198, 60) and (100, 3) show. Each probe has several
    candidate places; the first that no window in front covers is used."""
    l, t, r, b = box
    return [([(r - 2, t + (b - t) * k // 8) for k in (4, 6, 2, 7)], picture, (198, 60), "right border"),
            ([(l + (r - l) * k // 8, t + 3) for k in (4, 2, 6, 1)], picture, (100, 3), "caption")]


def main():
    art, layouts, pictures, names = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    pics = {n: Image(f"{pictures}/{n}.bmp") for n in ("frame_active", "frame_inactive", "popup_frame", "menus")}
    failures = 0

    def dark_pixels(shot, box):
        """The pixels inside a box darker than the tooltip's light fill: its text."""
        l, t, r, b = box
        return sum(1 for y in range(t, b) for x in range(l, r) if sum(shot.pixel(x, y)) < 384)

    def probe(shot, name, owner, windows, places, picture, source, what):
        nonlocal failures
        if isinstance(places, tuple):
            places = [places]
        free = [p for p in places if not covered(p, windows, owner)]
        if not free:
            # Another window of the program stands over all of it (a dialog over the main window's
            # caption); the window's other probes still check it.
            print(f"--   {name}: {what} is covered by another window of the program at {places}")
            return
        point = free[0]
        want, got = pics[picture].pixel(*source), shot.pixel(*point)
        ok = want == got
        failures += 0 if ok else 1
        print(f"{'ok  ' if ok else 'FAIL'} {name}: {what} at {point} shows {got}, {picture}.bmp{source} is {want}")

    for name in names:
        shot = Image(f"{art}/{name}.png")
        windows = read_layout(f"{layouts}/{name}.txt")
        frame = windows[0]
        others = windows[1:]
        dialogs = [w for w in others if w[0] == "#32770"]
        menus = [w for w in others if w[0] in ("GlossvanePopupMenuWnd", "#32768")]
        checks = []
        if name == "popup":
            # The pop-up look-up window, shown over the target.
            shown = [w for w in others if w[0] == "WordmereHotkey"]
            if not shown:
                print(f"FAIL {name}: no pop-up window is shown (windows: {[w[0] for w in others]})")
                failures += 1
                continue
            popup = shown[0]
            l, t, r, b = popup[1]
            # The 100 x 60 pop-up frame: 2-pixel borders and a 20-pixel caption whose light top
            # line (row 1) lies above the caption text.
            checks.append((popup, (l + 1, (t + b) // 2), "popup_frame", (1, 40), "pop-up left border"))
            checks.append((popup, ((l + r) // 2, t + 1), "popup_frame", (50, 1), "pop-up caption"))
        elif name == "tooltip":
            # The skinned tooltip: a 1-pixel frame and a light middle from the menus picture
            # (x 80-99), with its text drawn dark inside.
            shown = [w for w in others if w[0] == "GlossvaneTooltip32"]
            if not shown:
                print(f"FAIL {name}: no skinned tooltip is shown (windows: {[w[0] for w in others]})")
                failures += 1
                continue
            tip = shown[0]
            l, t, r, b = tip[1]
            checks.append((tip, (l, (t + b) // 2), "menus", (80, 10), "tooltip left border"))
            checks.append((tip, ((l + r) // 2, t), "menus", (90, 0), "tooltip top border"))
            checks.append((tip, (l + 1, t + 1), "menus", (90, 10), "tooltip fill"))
            text = dark_pixels(shot, (l + 1, t + 1, r - 1, b - 1))
            ok = text > 10
            failures += 0 if ok else 1
            print(f"{'ok  ' if ok else 'FAIL'} {name}: {text} text pixels inside the tooltip at {tip[1]}")
        else:
            look = "frame_inactive" if name == "dialog" else "frame_active"
            for point, picture, source, what in frame_probes(frame[1], look):
                checks.append((frame, point, picture, source, "main window " + what))
        if name == "dialog":
            if not dialogs:
                print(f"FAIL {name}: no dialog is shown")
                failures += 1
            for d in dialogs[:1]:
                for point, picture, source, what in frame_probes(d[1], "frame_active"):
                    checks.append((d, point, picture, source, "dialog " + what))
        if name == "menu":
            skinned = [m for m in menus if m[0] == "GlossvanePopupMenuWnd"]
            if not skinned:
                print(f"FAIL {name}: no skinned menu is open (windows: {[w[0] for w in others]})")
                failures += 1
            for m in skinned[:1]:
                l, t, r, b = m[1]
                # The menu's 2-pixel frame from the 20 x 20 menus picture: its left and bottom lines.
                checks.append((m, (l, (t + b) // 2), "menus", (0, 10), "menu left border"))
                checks.append((m, ((l + r) // 2, b - 1), "menus", (10, 19), "menu bottom border"))
        for owner, point, picture, source, what in checks:
            probe(shot, name, owner, windows, point, picture, source, what)
    print("skinned_shots: all passed" if failures == 0 else f"skinned_shots: {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
