#!/usr/bin/python3
"""A strict reader of skin files, written from the file format alone (it shares no code with
the skin compiler or the engine). It expands the file, walks every record of minor version 18,
and fails unless the body is consumed exactly to its end, every name is terminated, and every
picture reference names an image of the file with a source rectangle inside that image (and
nine-grid margins that fit it). With a pictures folder it also checks that each image's data
is the picture file of its name.

    strict_reader.py SKIN.gvf [PICTURES]
"""

import os
import struct
import sys

import lzo

# Building blocks: P picture (72), N nine-grid (88), E text effect (16), F font (64),
# R a 16-byte block, V a 32-bit value, T<n> an n-byte text, C children, M a MenuBar record,
# D image data, S sized text, Q properties, L colour list (100 values).
BASE = ["T51", "V", "V", "V", "T51", "V", "R", "V", "C"]
TEXT_STYLE = BASE + ["F", "N", "V", "V", "V", "E", "V"]
BORDERED = BASE + ["P"] * 18 + ["R"] * 9 + ["F", "V", "V", "V", "V", "V", "E", "N", "N"]
AREA = BASE + ["P", "V", "V", "V", "T51"]
LOOK = ["N", "E", "R"]
CHECK_LOOK = ["N", "N", "E"]
BAR_GROUP = ["P", "P", "P", "R", "N"]
SCROLL = TEXT_STYLE + ["P"]
RECORDS = {
    1: BORDERED + ["V", "M", "V", "P"],
    2: BASE + ["P", "R", "R", "B1", "V", "V"],
    3: AREA + ["P", "P", "P", "V", "V"],
    4: TEXT_STYLE + LOOK * 6 + ["T50", "V", "V"],
    5: TEXT_STYLE + CHECK_LOOK * 7 + ["T50", "V", "T50"],
    6: TEXT_STYLE + ["N"] * 4 + ["V"] * 4,
    7: SCROLL,
    8: TEXT_STYLE + ["N", "V", "R", "V"],
    10: TEXT_STYLE + ["N", "V", "V", "V"],
    12: TEXT_STYLE + BAR_GROUP * 4 + ["P"] + ["V"] * 5 + BAR_GROUP * 4,
    13: TEXT_STYLE + ["N", "V", "V", "V", "V", "V", "N", "V", "N"],
    14: TEXT_STYLE + ["V", "E", "T51", "E"],
    15: TEXT_STYLE + ["N", "P"],
    16: TEXT_STYLE + LOOK * 4 + ["N", "V"],
    17: BORDERED + ["E", "E", "E", "V", "V", "N", "N", "P", "P"],
    18: BASE + ["D"],
    19: BASE,
    20: AREA + ["F", "E", "E", "E", "V", "N", "E", "V", "N"] + ["P"] * 12 + ["N"],
    22: AREA,
    23: TEXT_STYLE + ["N"] * 5,
    24: TEXT_STYLE,
    25: BASE + ["T51", "T51", "T51", "V", "T51", "T51"],
    27: TEXT_STYLE + ["P", "P"] * 8,
    29: SCROLL + ["N", "N", "V", "V", "R", "R"] + ["P"] * 4 + ["V"],
    31: TEXT_STYLE + ["N", "N", "N", "P", "E", "P", "E", "V"],
    35: TEXT_STYLE + ["N"] * 6 + ["V"] * 4,
    36: TEXT_STYLE + ["N", "R"],
    37: TEXT_STYLE + ["R", "N"],
    38: AREA + ["V", "V", "V", "V", "V", "V", "V", "F", "E", "T51", "V", "V"],
    39: BASE + ["V", "V", "V", "V", "P"],
    40: TEXT_STYLE + ["P"],
    42: BORDERED + ["V", "V", "V", "S"],
    44: BASE + ["L"],
    45: BORDERED,
    100: TEXT_STYLE + ["T51", "Q"],
}
for same, code in ((9, 7), (26, 7), (28, 7), (30, 7), (11, 5), (33, 6)):
    RECORDS[same] = RECORDS[code]
FIXED = {"P": 72, "N": 88, "E": 16, "F": 64, "R": 16, "V": 4, "B1": 1}


class Failure(Exception):
    pass


class Reader:
    def __init__(self, body):
        self.body, self.pos = body, 0
        self.references = []  # (where, image name, source, margins or None)

    def take(self, n, where):
        if self.pos + n > len(self.body):
            raise Failure(f"{where}: the body ends inside a field")
        chunk = self.body[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def u32(self, where):
        return struct.unpack("<I", self.take(4, where))[0]

    def i32(self, where):
        return struct.unpack("<i", self.take(4, where))[0]

    def text(self, n, where):
        raw = self.take(n, where)
        if 0 not in raw:
            raise Failure(f"{where}: a text without terminator")
        return raw.split(b"\0")[0]

    def reference(self, where, grid):
        name = self.take(52, where).split(b"\0")[0]
        source = struct.unpack("<4i", self.take(16, where))
        margins = struct.unpack("<4i", self.take(16, where)) if grid else None
        mode = self.i32(where)
        if not grid and mode not in (0, 1, 2):
            raise Failure(f"{where}: draw mode {mode}")
        if name or source != (0, 0, 0, 0):
            self.references.append((where, name, source, margins))

    def record(self, code, where, depth=0):
        if code not in RECORDS:
            raise Failure(f"{where}: type code {code} has no record")
        name = b""
        for i, block in enumerate(RECORDS[code]):
            here = f"{where}#{i}"
            if i == 0:
                name = self.text(51, here)
                where = f"{where}:{name.decode('latin-1')}"
            elif block.startswith("T"):
                self.text(int(block[1:]), here)
            elif block in ("P", "N"):
                self.reference(here, block == "N")
            elif block in FIXED:
                self.take(FIXED[block], here)
            elif block == "C":
                for _ in range(self.i32(here)):
                    self.record(self.i32(here), where, depth + 1)
            elif block == "M":
                self.record(20, f"{where}.menuBar", depth + 1)
            elif block == "S":
                self.take(self.u32(here), here)
            elif block == "L":
                self.take(400, here)
            elif block == "Q":
                for _ in range(self.i32(here)):
                    self.take(4, here)
                    self.text(31, here)
                    self.text(51, here)
                    self.take(self.u32(here), here)
                    text = self.take(self.u32(here), here)
                    if text and text[-1] != 0:
                        raise Failure(f"{here}: a property text without terminator")
            elif block == "D":
                length, fmt = self.u32(here), self.i32(here)
                return name, (fmt, self.take(length, here))
        return name, None


def bmp_size(data, where):
    if data[:2] != b"BM" or struct.unpack_from("<I", data, 14)[0] != 40:
        raise Failure(f"{where}: not a BMP with a 40-byte header")
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24 or len(data) < struct.unpack_from("<I", data, 10)[0] + ((width * 3 + 3) & ~3) * abs(height):
        raise Failure(f"{where}: not a whole 24-bit BMP")
    return width, abs(height)


def check(path, pictures=None):
    raw = open(path, "rb").read()
    announced = struct.unpack_from("<I", raw)[0]
    body = lzo.decompress(raw[4:], False, announced)
    if len(body) != announced:
        raise Failure(f"expanded to {len(body)} bytes, {announced} announced")
    if body[:19] != b"GLOSSVANE_SKIN_FILE" or body[20] != 1 or body[21] != 18:
        raise Failure("not a skin file of version 1.18")
    reader = Reader(body)
    reader.pos = 188
    objects = [reader.record(reader.i32("object"), "object") for _ in range(struct.unpack_from("<i", body, 176)[0])]
    images = {}
    for _ in range(reader.i32("image count")):
        if reader.i32("image") != 18:
            raise Failure("an image entry is not of type 18")
        name, (fmt, data) = reader.record(18, "image")
        if fmt != 1:
            raise Failure(f"image {name}: format {fmt}")
        images[name] = (bmp_size(data, f"image {name}"), data)
    sounds = reader.i32("sound count")
    for _ in range(sounds):
        reader.i32("sound")
        reader.record(19, "sound")
    if reader.pos != len(body):
        raise Failure(f"{len(body) - reader.pos} bytes after the sound table")
    used = set()
    for where, name, source, margins in reader.references:
        if name not in images:
            raise Failure(f"{where}: no image {name!r}")
        (w, h), _ = images[name]
        l, t, r, b = source
        if not (0 <= l < r <= w and 0 <= t < b <= h):
            raise Failure(f"{where}: source {source} outside the {w} x {h} image {name!r}")
        if margins and (min(margins) < 0 or margins[0] + margins[2] > r - l or margins[1] + margins[3] > b - t):
            raise Failure(f"{where}: margins {margins} do not fit {source}")
        used.add(name)
    if pictures:
        for name, (_, data) in images.items():
            if open(os.path.join(pictures, name.decode() + ".bmp"), "rb").read() != data:
                raise Failure(f"image {name!r} is not its picture file")
    print(f"strict reader: {len(objects)} objects, {len(images)} images ({len(used)} used), {sounds} sounds, "
          f"{len(reader.references)} picture references, {len(body)} bytes read to the end")


if __name__ == "__main__":
    try:
        check(*sys.argv[1:3])
    except Failure as e:
        print(f"strict reader: {sys.argv[1]}: {e}", file=sys.stderr)
        sys.exit(1)
