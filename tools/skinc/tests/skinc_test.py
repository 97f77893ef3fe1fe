#!/usr/bin/python3
"""Tests of the skin compiler: what it refuses (with a message naming the fault) and that its
output is the same for the same input."""

import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), ".."))
import lzo  # noqa: E402
import skinc  # noqa: E402


def write_bmp(path, width, height, bits=24):
    stride = (width * 3 + 3) & ~3
    pixels = b"\x80" * (stride * height)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


GOOD = """
author = "tests"
Button "Button" {
  normal = { image = { image = "pic" source = 0 0 8 8 margins = 2 2 2 2 } }
  Static "Label" { id = 7 }
}
"""


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class Compile(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.pictures = os.path.join(self.dir.name, "pictures")
        os.mkdir(self.pictures)
        write_bmp(os.path.join(self.pictures, "pic.bmp"), 8, 8)

    def tearDown(self):
        self.dir.cleanup()

    def run_compiler(self, text, partial=True):
        desc = os.path.join(self.dir.name, "skin.txt")
        with open(desc, "w") as f:
            f.write(text)
        out = os.path.join(self.dir.name, "skin.gvf")
        body = os.path.join(self.dir.name, "skin.body")
        compiler = skinc.Compiler()
        skin = compiler.compile(text, self.pictures)
        if skin is not None and not partial:
            skinc.check_program_objects(compiler, skin)
        args = [desc, self.pictures, "-o", out, "--body", body] + (["--partial"] if partial else [])
        rc = skinc.main(args) if not compiler.errors else 1
        return compiler.errors, rc, out, body

    def test_refusals(self):
        cases = [
            ('Button "' + "n" * 51 + '" {}', "printable ASCII"),
            ('Button "" {}', "printable ASCII"),
            ('Button "caf\\xE9" {}', "printable ASCII"),
            ('Button "A" {}\nButton "A" {}', "used twice"),
            ('Tab "T" { Button "A" {} Static "A" {} }', "used twice"),
            ('Button "B" { normal = { image = { image = "none" source = 0 0 4 4 } } }', "no picture named"),
            ('Button "B" { normal = { image = { image = "pic" source = 0 0 9 4 } } }', "not inside"),
            ('Button "B" { normal = { image = { image = "pic" source = 4 4 4 8 } } }', "not inside"),
            ('Button "B" { normal = { image = { image = "pic" source = 0 0 8 8 margins = 5 0 4 0 } } }', "do not fit"),
            ('CaptionButton "C" {}', "cannot stand at the top level"),
            ('Area "A" {}', "cannot stand at the top level"),
            ('Image "I" {}', "cannot stand at the top level"),
            ('Tab "T" { FrameWnd "F" {} }', "cannot be a child"),
            ('Tab "T" { Voice "V" {} }', "cannot be a child"),
            ('Button "B" { nosuch = 1 }', "no field 'nosuch'"),
            ('Button "B" { unusedText = "' + "x" * 50 + '" }', "longer than 49"),
            ('Button "B" { rect = 1 2 3 }', "expected 4 values"),
            ('Static "Button" {}', "must be of that type"),
            ('Gadget "G" {}', "unknown object type"),
            ('Button "B" { property "P" { color = #000000 } }', "only a PropertySet"),
            ('FrameWnd "F" { menuBar = Tab "T" {} }', "expected a MenuBar record"),
        ]
        for text, message in cases:
            errors, rc, _, _ = self.run_compiler(GOOD + text)
            self.assertNotEqual(rc, 0, text)
            self.assertTrue(any(message in e for e in errors), f"{text!r}: {errors}")

    def test_unused_and_malformed_pictures(self):
        write_bmp(os.path.join(self.pictures, "spare.bmp"), 4, 4)
        errors, rc, _, _ = self.run_compiler(GOOD)
        self.assertTrue(any("spare" in e and "not used" in e for e in errors), errors)
        os.remove(os.path.join(self.pictures, "spare.bmp"))
        write_bmp(os.path.join(self.pictures, "deep.bmp"), 4, 4, bits=32)
        errors, rc, _, _ = self.run_compiler(GOOD)
        self.assertTrue(any("24-bit" in e for e in errors), errors)

    def test_the_program_objects_are_insisted_on(self):
        errors, rc, _, _ = self.run_compiler(GOOD, partial=False)
        for needed in ("'MainFrame'", "'HotKeyDialog'", "'Splitter'", "SysColorTable", "'LeftLanguageRadio'"):
            self.assertTrue(any(needed in e for e in errors), needed)

    def test_output_is_deterministic_and_expands_to_the_body(self):
        errors, rc, out, body = self.run_compiler(GOOD)
        self.assertEqual((errors, rc), ([], 0))
        first = read_bytes(out)
        raw_body = read_bytes(body)
        self.assertEqual(struct.unpack_from("<I", first)[0], len(raw_body))
        self.assertEqual(lzo.decompress(first[4:], False, len(raw_body)), raw_body)
        self.run_compiler(GOOD)
        self.assertEqual(read_bytes(out), first)


if __name__ == "__main__":
    unittest.main()
