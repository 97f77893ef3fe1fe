#!/usr/bin/env python3
"""Writes the image tests' fixtures into OUTDIR.

Pictures are written by ImageMagick (BMP3, BMP2, V5 BMP, RLE8, TGA plain and run-length,
bottom-up and top-down, palette and grey) and, for what ImageMagick does not write, by
hand with struct (RLE4 and RLE8 with absolute runs and deltas, top-down and bare BMPs,
16-bit BMPs, TGA packets that cross row ends, right-to-left TGA, 16-bit TGA, 16- and
32-bit colour maps). For every picture NAME.EXT the pixels ImageMagick reads from it
(`convert NAME.EXT -auto-orient txt:-`: ImageMagick keeps a TGA's rows in file order
and only notes the orientation, which -auto-orient applies) go to NAME.rgba: width and height as 32-bit little-endian
numbers, then red, green, blue, alpha per pixel, top row first. Transforms are done by
ImageMagick on the same inputs (flip, flop, crop, rotate) and dumped the same way.

  make_fixtures.py OUTDIR
"""
import os
import re
import struct
import subprocess
import sys

OUT = sys.argv[1]
CONVERT = os.environ.get("CONVERT", "convert")


def path(name):
    return os.path.join(OUT, name)


def im(*args):
    subprocess.run([CONVERT, *args], check=True)


def pixels_of(file):
    """Width, height and RGBA rows as ImageMagick reads the file."""
    text = subprocess.run([CONVERT, file, "-auto-orient", "-depth", "8", "txt:-"], check=True, capture_output=True,
                          text=True).stdout.splitlines()
    head = re.match(r"# ImageMagick pixel enumeration: (\d+),(\d+),(\d+),(\w+)", text[0])
    width, height, top = int(head.group(1)), int(head.group(2)), int(head.group(3))
    grid = [[None] * width for _ in range(height)]
    for line in text[1:]:
        m = re.match(r"(\d+),(\d+): \(([^)]*)\)", line)
        values = [round(float(v.rstrip("%")) * 255 / top) for v in m.group(3).split(",")]
        if len(values) <= 2:  # grey, grey with alpha
            values = [values[0]] * 3 + values[1:]
        if len(values) == 3:
            values.append(255)
        grid[int(m.group(2))][int(m.group(1))] = values
    return width, height, grid


def dump(file, name):
    width, height, grid = pixels_of(file)
    with open(path(name + ".rgba"), "wb") as f:
        f.write(struct.pack("<II", width, height))
        for row in grid:
            for px in row:
                f.write(bytes(px))


def picture(name, writer):
    """Writes NAME (with its extension) by writer(path) and dumps what ImageMagick reads."""
    writer(path(name))
    dump(path(name), os.path.splitext(name)[0])


# ---- source patterns -------------------------------------------------------------------

def write_netpbm(file, header, width, height, color):
    with open(file, "wb") as f:
        f.write(header)
        for y in range(height):
            for x in range(width):
                f.write(bytes(color(x, y)))


def write_ppm(file, width, height, color):
    write_netpbm(file, b"P6\n%d %d\n255\n" % (width, height), width, height, color)


def write_pam(file, width, height, color):
    header = b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (width, height)
    write_netpbm(file, header, width, height, color)


TEN = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255), (255, 0, 255), (128, 64, 32),
       (10, 20, 30), (200, 100, 50), (0, 0, 0)]


def rich(x, y):
    return (x * 19 % 256, y * 37 % 256, (x * y * 11 + 7) % 256)


def make_sources():
    write_ppm(path("rich.ppm"), 13, 7, rich)                                  # many colours
    write_ppm(path("ten.ppm"), 9, 4, lambda x, y: TEN[(x + 2 * y) % 10])       # 10 colours
    write_ppm(path("two.ppm"), 11, 5, lambda x, y: (255, 255, 255) if (x * x + y) % 3 else (0, 0, 128))
    write_pam(path("alpha.pam"), 6, 3, lambda x, y: (x * 40, y * 90, 200 - x * 30, [0, 64, 128, 200, 255][(x + y) % 5]))


# ---- ImageMagick's own files -----------------------------------------------------------

def make_imagemagick():
    rich_, ten, two, alpha = path("rich.ppm"), path("ten.ppm"), path("two.ppm"), path("alpha.pam")
    picture("bmp3_24.bmp", lambda p: im(rich_, "-alpha", "off", "BMP3:" + p))
    picture("bmp3_8.bmp", lambda p: im(rich_, "-type", "Palette", "-compress", "None", "BMP3:" + p))
    picture("bmp3_4.bmp", lambda p: im(ten, "-type", "Palette", "BMP3:" + p))
    picture("bmp3_1.bmp", lambda p: im(two, "-type", "Palette", "BMP3:" + p))
    picture("bmp3_rle8.bmp", lambda p: im(rich_, "-type", "Palette", "-compress", "RLE", "BMP3:" + p))
    picture("bmp3_32.bmp", lambda p: im(alpha, "-define", "bmp3:alpha=true", "BMP3:" + p))
    picture("bmp2_24.bmp", lambda p: im(rich_, "-alpha", "off", "BMP2:" + p))
    picture("bmp2_4.bmp", lambda p: im(ten, "-type", "Palette", "BMP2:" + p))
    picture("bmp5_24.bmp", lambda p: im(rich_, "-alpha", "off", "BMP:" + p))
    picture("tga_24.tga", lambda p: im(rich_, "-alpha", "off", "TGA:" + p))
    picture("tga_24_topdown.tga", lambda p: im(rich_, "-alpha", "off", "-orient", "TopLeft", "TGA:" + p))
    picture("tga_24_rle.tga", lambda p: im(rich_, "-alpha", "off", "-compress", "RLE", "TGA:" + p))
    picture("tga_24_rle_topdown.tga",
            lambda p: im(rich_, "-alpha", "off", "-compress", "RLE", "-orient", "TopLeft", "TGA:" + p))
    picture("tga_8.tga", lambda p: im(ten, "-type", "Palette", "TGA:" + p))
    picture("tga_8_rle.tga", lambda p: im(ten, "-type", "Palette", "-compress", "RLE", "TGA:" + p))
    picture("tga_grey.tga", lambda p: im(rich_, "-type", "Grayscale", "TGA:" + p))
    picture("tga_grey_rle.tga", lambda p: im(rich_, "-type", "Grayscale", "-compress", "RLE", "TGA:" + p))
    picture("tga_32.tga", lambda p: im(alpha, "TGA:" + p))
    picture("tga_32_topdown.tga", lambda p: im(alpha, "-orient", "TopLeft", "TGA:" + p))


# ---- by hand ---------------------------------------------------------------------------

def bmp_file(info_header, palette, data, bits_offset=None):
    offset = 14 + len(info_header) + len(palette) if bits_offset is None else bits_offset
    body = info_header + palette + data
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def info40(width, height, bits, compression=0, size_image=0, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, size_image, 2835, 2835, colours, 0)


def row_bytes(width, bits):
    return (width * bits + 31) // 32 * 4


def palette16():
    return b"".join(bytes((b, g, r, 0)) for r, g, b in TEN + [(90, 90, 90)] * 6)


def rle4_rows():
    # 10 x 4 indices, bottom row first, each row coded with its own mix of packets.
    rows = [[(x * 3 + y) % 10 for x in range(10)] for y in range(4)]
    rows[0] = [1, 1, 1, 2, 2, 3, 4, 5, 6, 6]
    rows[2] = [7] * 10
    rows[3] = [3, 6, 9, 2, 5, 8, 1, 4, 1, 4]
    return rows


def rle4_data():
    def nib(a, b=0):
        return (a << 4) | b
    rows = rle4_rows()
    d = b""
    # Row 0: a run of 3 (1,1,1), then an absolute run of 5 (2,2,3,4,5: 3 bytes and a pad),
    # then a run of 2 (6,6).
    d += bytes([3, nib(1, 1)]) + bytes([0, 5, nib(2, 2), nib(3, 4), nib(5, 0), 0]) + bytes([2, nib(6, 6)])
    d += bytes([0, 0])
    # Row 1: an absolute run of 3 (2 bytes, no pad), an absolute run of 7 (4 bytes, no pad).
    r = rows[1]
    d += bytes([0, 3, nib(r[0], r[1]), nib(r[2], 0)])
    d += bytes([0, 7, nib(r[3], r[4]), nib(r[5], r[6]), nib(r[7], r[8]), nib(r[9], 0)])
    d += bytes([0, 0])
    # Row 2: one run of 10.
    d += bytes([10, nib(7, 7)]) + bytes([0, 0])
    # Row 3: an absolute run of 6 (3 bytes and a pad), then a run of 4 alternating pixels.
    r = rows[3]
    d += bytes([0, 6, nib(r[0], r[1]), nib(r[2], r[3]), nib(r[4], r[5]), 0])
    assert r[6] == r[8] and r[7] == r[9]
    d += bytes([4, nib(r[6], r[7])])
    d += bytes([0, 1])
    return d


def rle8_data():
    # 8 x 3: row 0 a run then an odd absolute run (padded); row 1 an absolute run of 4;
    # row 2 a run of 8; end of bitmap.
    d = bytes([3, 5]) + bytes([0, 5, 1, 2, 3, 4, 6, 0]) + bytes([0, 0])
    d += bytes([0, 4, 9, 8, 7, 6]) + bytes([4, 2]) + bytes([0, 0])
    d += bytes([8, 3]) + bytes([0, 1])
    return d


def palette256():
    return b"".join(bytes(((i * 7) % 256, (i * 13) % 256, (255 - i) % 256, 0)) for i in range(256))


def bgr_rows(width, height, color, top_down=False):
    rows = []
    for y in range(height):
        row = b"".join(bytes(reversed(color(x, y))) for x in range(width))
        rows.append(row + b"\0" * (row_bytes(width, 24) - len(row)))
    return rows  # rows[y] is row y counted from the top


def make_by_hand():
    # RLE4 with odd and even absolute runs (checked by ImageMagick).
    data = rle4_data()
    open(path("rle4.bmp"), "wb").write(bmp_file(info40(10, 4, 4, 2, len(data), 16), palette16(), data))
    dump(path("rle4.bmp"), "rle4")
    data = rle8_data()
    open(path("rle8_runs.bmp"), "wb").write(bmp_file(info40(8, 3, 8, 1, len(data), 256), palette256(), data))
    dump(path("rle8_runs.bmp"), "rle8_runs")

    # Top-down 24-bit: the same pixels as rich, rows stored top first.
    rows = bgr_rows(13, 7, rich)
    data = b"".join(rows)
    open(path("topdown_24.bmp"), "wb").write(bmp_file(info40(13, -7, 24, 0, len(data)), b"", data))
    dump(path("topdown_24.bmp"), "topdown_24")
    # Top-down 8-bit from the palette of 256 entries.
    idx = [[(x * 5 + y * 17) % 256 for x in range(6)] for y in range(3)]
    data = b"".join(bytes(r) + b"\0" * (row_bytes(6, 8) - 6) for r in idx)
    open(path("topdown_8.bmp"), "wb").write(bmp_file(info40(6, -3, 8, 0, 0, 256), palette256(), data))
    dump(path("topdown_8.bmp"), "topdown_8")

    # 16-bit, plain 5-5-5 and 5-6-5 bit fields (masks after the 40-byte header).
    words = [[(x * 2131 + y * 977) & 0xFFFF for x in range(5)] for y in range(3)]
    def rows16(mask_top):
        out = b""
        for r in reversed(words):  # bottom row first
            row = b"".join(struct.pack("<H", w & mask_top) for w in r)
            out += row + b"\0" * (row_bytes(5, 16) - len(row))
        return out
    data = rows16(0x7FFF)
    open(path("bmp16_555.bmp"), "wb").write(bmp_file(info40(5, 3, 16, 0, len(data)), b"", data))
    dump(path("bmp16_555.bmp"), "bmp16_555")
    data = rows16(0xFFFF)
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    open(path("bmp16_565.bmp"), "wb").write(bmp_file(info40(5, 3, 16, 3, len(data)), masks, data))
    dump(path("bmp16_565.bmp"), "bmp16_565")

    # A bare bitmap block: the 8-bit file without its file header (pixels follow the palette).
    whole = open(path("bmp3_8.bmp"), "rb").read()
    offset = struct.unpack_from("<I", whole, 10)[0]
    colours = struct.unpack_from("<I", whole, 46)[0] or 256
    assert offset == 54 + 4 * colours, "the palette must touch the pixels"
    open(path("bare_8.dib"), "wb").write(whole[14:])

    make_tga_by_hand()


def tga_header(image_type, width, height, depth, descriptor=0, map_type=0, map_length=0, map_bits=0, id_length=0):
    return struct.pack("<BBBHHBHHHHBB", id_length, map_type, image_type, 0, map_length, map_bits, 0, 0,
                       width, height, depth, descriptor)


def tga_plain_and_rle(name, width, height, values, pixel, descriptor):
    """values: file order pixel values; writes NAME_plain.tga and NAME_rle.tga whose
    packets run across row ends."""
    plain = tga_header(2, width, height, len(pixel(values[0])) * 8, descriptor) + b"".join(pixel(v) for v in values)
    open(path(name + "_plain.tga"), "wb").write(plain)
    dump(path(name + "_plain.tga"), name + "_plain")
    # Packets of lengths 7, 6, 1, then the rest, alternating run and raw where values allow.
    out, i, lengths, k = b"", 0, [7, 6, 1, 4, 3, 9, 128], 0
    while i < len(values):
        n = min(lengths[k % len(lengths)], len(values) - i)
        k += 1
        if len(set(values[i:i + n])) == 1:
            out += bytes([0x80 | (n - 1)]) + pixel(values[i])
        else:
            out += bytes([n - 1]) + b"".join(pixel(v) for v in values[i:i + n])
        i += n
    rle = tga_header(10, width, height, len(pixel(values[0])) * 8, descriptor) + out
    open(path(name + "_rle.tga"), "wb").write(rle)
    dump(path(name + "_rle.tga"), name + "_rle")


def make_tga_by_hand():
    width, height = 5, 4
    # Runs of one colour that pass row ends (7 pixels), then varied pixels.
    values = [(10, 20, 30)] * 7 + [(x * 40, 255 - x * 20, x * 9) for x in range(6)] + [(1, 2, 3)] + \
             [(200, 100, 0)] * 4 + [(5, 6, 7), (8, 9, 10)]
    assert len(values) == width * height
    bgr = lambda v: bytes((v[2], v[1], v[0]))
    tga_plain_and_rle("tga_runs", width, height, values, bgr, 0)
    tga_plain_and_rle("tga_runs_topdown", width, height, values, bgr, 0x20)
    # Right to left: the first pixel of each file row is the rightmost.
    data = b"".join(bgr(v) for v in values)
    open(path("tga_rtl.tga"), "wb").write(tga_header(2, width, height, 24, 0x10) + data)
    dump(path("tga_rtl.tga"), "tga_rtl")
    # 16-bit 5-5-5 pixels, and an id field to step over.
    words = [(x * 3001 + y * 1234) & 0x7FFF for y in range(3) for x in range(4)]
    data = b"".join(struct.pack("<H", w) for w in words)
    open(path("tga_16.tga"), "wb").write(tga_header(2, 4, 3, 16, 0, id_length=5) + b"hello" + data)
    dump(path("tga_16.tga"), "tga_16")
    # Colour maps with 16-bit and 32-bit entries.
    entries = [(x * 60 % 256, x * 90 % 256, 255 - x * 30) for x in range(6)]
    idx = bytes([(x + y) % 6 for y in range(3) for x in range(4)])
    m32 = b"".join(bytes((b, g, r, 255)) for r, g, b in entries)
    open(path("tga_map32.tga"), "wb").write(tga_header(1, 4, 3, 8, 0, 1, 6, 32) + m32 + idx)
    dump(path("tga_map32.tga"), "tga_map32")
    m16 = b"".join(struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)) for r, g, b in entries)
    open(path("tga_map16.tga"), "wb").write(tga_header(1, 4, 3, 8, 0, 1, 6, 16) + m16 + idx)
    dump(path("tga_map16.tga"), "tga_map16")


# ---- transforms by ImageMagick ---------------------------------------------------------

TRANSFORMS = {
    "flip": ["-flip"],
    "mirror": ["-flop"],
    "crop": ["-crop", "5x3+2+1", "+repage"],
    "crop_clamped": ["-crop", "40x40+6+3", "+repage"],
    "rotate90": ["-rotate", "90"],
    "rotate180": ["-rotate", "180"],
    "rotate270": ["-rotate", "270"],
}


def make_transforms():
    for source in ("bmp3_24", "bmp3_8", "bmp3_4", "bmp3_1"):
        for name, args in TRANSFORMS.items():
            out = path("%s_%s.png" % (source, name))
            im(path(source + ".bmp"), *args, out)
            dump(out, "%s_%s" % (source, name))
            os.remove(out)


def main():
    os.makedirs(OUT, exist_ok=True)
    make_sources()
    make_imagemagick()
    make_by_hand()
    make_transforms()
    open(path("stamp"), "w").write("done\n")


main()
