#!/usr/bin/env python3
"""Independent reader of the engine's stream-container files.

Parses the header and directory with struct, inflates every compressed block on its own
with Python's zlib, checks the layout the engine promises and compares every stream with
the bytes the writer meant to store.

  container_reader.py --run CMD...   run CMD (the engine's test program, writing sample
                                     containers into $WORDMERE_CONTAINER_OUT), then check
                                     every sample it wrote
  container_reader.py DIR            check the samples already in DIR

A sample is NAME.lxs with NAME.manifest (one line per stream: index length compressed)
and NAME.N.raw, the bytes stream N should hold.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

MAGIC = 0x05E9F17E
BLOCK = 1024


class Bad(Exception):
    pass


def expect(cond, what):
    if not cond:
        raise Bad(what)


def read_container(data):
    """Returns [(length, compressed, bytes)] for every stream, checking the layout."""
    expect(len(data) >= 16, "short header")
    magic, count, r1, r2 = struct.unpack_from(">IIII", data, 0)
    expect(magic == MAGIC, "magic %08x" % magic)
    expect(count > 0, "stream count 0")
    expect(r1 == 0 and r2 == 0, "reserved words not 0")
    expect(len(data) >= 16 * (count + 1), "short directory")
    at = 16 * (count + 1)  # where the next stream's data must start
    streams = []
    for i in range(count):
        offset, length, stored, word = struct.unpack_from(">IIII", data, 16 * (i + 1))
        compressed = bool(word & 0x80000000)
        block = word & 0x7FFFFFFF
        expect(offset == at, "stream %d at %d, expected %d" % (i, offset, at))
        expect(block == BLOCK, "stream %d block size %d" % (i, block))
        if not compressed:
            expect(stored == length, "stream %d stored %d != length %d" % (i, stored, length))
            expect(offset + length <= len(data), "stream %d past the end" % i)
            streams.append((length, False, data[offset:offset + length]))
            at = offset + length
            continue
        blocks = (length + BLOCK - 1) // BLOCK
        table = [int.from_bytes(data[offset + 3 * b:offset + 3 * b + 3], "big") for b in range(blocks)]
        start = offset + 3 * blocks
        expect(start + stored <= len(data), "stream %d compressed data past the end" % i)
        expect(not table or table[0] == 0, "stream %d first block at %d" % (i, table[0] if table else 0))
        bounds = table + [stored]
        out = bytearray()
        for b in range(blocks):
            lo, hi = bounds[b], bounds[b + 1]
            expect(lo < hi, "stream %d block %d: table not increasing" % (i, b))
            packed = data[start + lo:start + hi]
            # A complete zlib stream of this block alone: 2^13 window, level class "fast".
            cmf, flg = packed[0], packed[1]
            expect(cmf == 0x58, "stream %d block %d: CMF %02x" % (i, b, cmf))
            expect(((cmf << 8) | flg) % 31 == 0 and (flg >> 6) == 1, "stream %d block %d: FLG %02x" % (i, b, flg))
            d = zlib.decompressobj()
            try:
                plain = d.decompress(packed)
            except zlib.error as e:
                raise Bad("stream %d block %d: %s" % (i, b, e))
            expect(d.eof and not d.unused_data, "stream %d block %d: not one complete zlib stream" % (i, b))
            want = min(BLOCK, length - b * BLOCK)
            expect(len(plain) == want, "stream %d block %d inflates to %d, expected %d" % (i, b, len(plain), want))
            out += plain
        streams.append((length, True, bytes(out)))
        at = start + stored
    expect(at == len(data), "file has %d bytes, streams end at %d" % (len(data), at))
    return streams


def check_sample(folder, name):
    with open(os.path.join(folder, name + ".lxs"), "rb") as f:
        streams = read_container(f.read())
    with open(os.path.join(folder, name + ".manifest")) as f:
        manifest = [tuple(int(x) for x in line.split()) for line in f if line.strip()]
    expect(len(manifest) == len(streams), "%d streams, manifest has %d" % (len(streams), len(manifest)))
    for index, length, compressed in manifest:
        got_length, got_compressed, got = streams[index]
        with open(os.path.join(folder, "%s.%d.raw" % (name, index)), "rb") as f:
            want = f.read()
        expect(got_length == length == len(want), "stream %d length %d" % (index, got_length))
        expect(got_compressed == bool(compressed), "stream %d compressed flag" % index)
        expect(got == want, "stream %d bytes differ" % index)
    return len(streams)


def check_folder(folder):
    names = sorted(n[:-4] for n in os.listdir(folder) if n.endswith(".lxs"))
    expect(names, "no samples in %s" % folder)
    passed = failed = 0
    for name in names:
        try:
            n = check_sample(folder, name)
            passed += 1
            print("ok   %s: %d streams" % (name, n))
        except Bad as e:
            failed += 1
            print("FAIL %s: %s" % (name, e))
    return passed, failed


def main(argv):
    if len(argv) >= 3 and argv[1] == "--run":
        with tempfile.TemporaryDirectory() as folder:
            env = dict(os.environ)
            # A Windows build under Wine sees the Unix root as drive Z:.
            env["WORDMERE_CONTAINER_OUT"] = ("Z:" + folder if any(a.endswith(".exe") for a in argv[2:]) else folder)
            run = subprocess.run(argv[2:] + ["--gtest_filter=ContainerSamples.*"], env=env)
            if run.returncode != 0:
                print("writer failed with %d" % run.returncode)
                return 1
            passed, failed = check_folder(folder)
    elif len(argv) == 2:
        passed, failed = check_folder(argv[1])
    else:
        print(__doc__)
        return 2
    print("container_reader: %d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except Bad as e:
        print("FAIL: %s" % e)
        sys.exit(1)
