#!/usr/bin/python3
"""skinc: compiles a skin description and a folder of pictures into a skin file ("skin.gvf").

    skinc.py DESCRIPTION PICTURES -o skin.gvf [--body BODY] [--normalized TEXT] [--partial]

Every *.bmp of PICTURES (24-bit, 40-byte header) becomes an image named by its file name
without ".bmp". The output is the expanded length and the body compressed with LZO1X; it is the
same for the same input. --body also writes the expanded body, --normalized the description
with every field spelled out in the engine's canonical form (what the engine's dump prints for
the loaded file). --partial skips the check for the objects the program needs.
"""

import argparse
import os
import struct
import sys

import skinlayout as L
from skinlang import DescriptionError, parse

PICTURE = [("text", "image", L.NAME_BYTES, ""), ("pad", 1), ("rect", "source", L.ZERO_RECT), ("i32", "mode", 0)]
NINEGRID = [("text", "image", L.NAME_BYTES, ""), ("pad", 1), ("rect", "source", L.ZERO_RECT),
            ("rect", "margins", L.ZERO_RECT), ("i32", "layout", 0)]
MODES = {"natural": 0, "tiled": 1, "stretched": 2}
INT_RANGES = {"i32": (-2**31, 2**31 - 1), "u32": (0, 2**32 - 1), "u8": (0, 255), "i8": (-128, 127),
              "color": (0, 2**32 - 1)}
PACK = {"i32": "<i", "u32": "<I", "u8": "<B", "i8": "<b", "color": "<I"}


def effect_layout(d):
    return [("i8", "shadowX", d["shadowX"]), ("i8", "shadowY", d["shadowY"]), ("pad", 2),
            ("rgb", "color", d["color"]), ("u8", "colorByte", d["colorByte"]),
            ("rgb", "shadowColor", d["shadowColor"]), ("pad", 1), ("u32", "flags", d["flags"])]


def font_layout(d):
    ints = [("i32", n, d[n]) for n in ("height", "width", "escapement", "orientation", "weight")]
    bytes_ = [("u8", n, d[n]) for n in ("italic", "underline", "strikeOut", "charSet", "outPrecision",
                                        "clipPrecision", "quality", "pitchAndFamily")]
    return ints + bytes_ + [("text", "face", L.FACE_BYTES, d["face"]), ("u32", "hasFont", d["hasFont"])]


def expand(field):
    """The building blocks as groups of primitive fields."""
    kind = field[0]
    if kind == "picture":
        return ("group", field[1], PICTURE)
    if kind == "ninegrid":
        return ("group", field[1], NINEGRID)
    if kind == "effect":
        return ("group", field[1], effect_layout(L.default_effect()))
    if kind == "font":
        return ("group", field[1], font_layout(field[2]))
    if kind == "group":
        return ("group", field[1], [expand(f) for f in field[2]])
    return field


LAYOUTS = {code: [expand(f) for f in fields] for code, fields in L.LAYOUTS.items()}


class Obj:
    def __init__(self, code, name):
        self.code, self.name = code, name
        self.values, self.children, self.properties = {}, [], []


def defaults(layout):
    values = {}
    for f in layout:
        kind = f[0]
        if kind in ("pad", "children", "properties"):
            continue
        if kind == "group":
            values[f[1]] = defaults(f[2])
        elif kind == "text":
            values[f[1]] = f[3].encode("latin-1")
        elif kind == "colors":
            values[f[1]] = [0] * f[2]
        elif kind == "embedded":
            values[f[1]] = new_object(f[2], b"MenuBar")
        elif kind in ("bytes", "sized"):
            values[f[1]] = b""
        else:
            values[f[1]] = f[2]
    return values


def new_object(code, name):
    obj = Obj(code, name)
    obj.values = defaults(LAYOUTS[code])
    return obj


class Compiler:
    def __init__(self):
        self.errors = []

    def error(self, where, message):
        self.errors.append(f"{where}: {message}")

    # ---- values from the description

    def number(self, where, tok, kind, name):
        if tok[0] == "word" and name == "mode" and tok[1] in MODES:
            return MODES[tok[1]]
        if tok[0] not in ("number", "color") or (tok[0] == "color" and kind not in ("color", "rgb")):
            self.error(where, f"{name}: expected a {'colour' if kind in ('color', 'rgb') else 'number'}")
            return 0
        value = tok[1]
        if tok[0] == "color":  # #RRGGBB as COLORREF 0x00BBGGRR
            value = ((value & 0xFF) << 16) | (value & 0xFF00) | (value >> 16)
        low, high = INT_RANGES.get(kind, (0, 0xFFFFFF))
        if not low <= value <= high:
            self.error(where, f"{name}: {value} is out of range")
            return 0
        return value

    def scalars(self, where, field, value, count):
        if value[0] != "scalars" or len(value[1]) != count:
            self.error(where, f"{field[1]}: expected {count} value{'s' if count > 1 else ''}")
            return None
        return value[1]

    def convert(self, where, field, value, current):
        kind, name = field[0], field[1]
        if kind == "group":
            if value[0] != "block":
                self.error(where, f"{name}: expected a block {{ ... }}")
                return current
            return self.apply_fields(f"{where}.{name}", field[2], value[1], dict(current))
        if kind == "embedded":
            if value[0] != "record" or value[1].keyword != L.KEYWORDS[field[2]]:
                self.error(where, f"{name}: expected a {L.KEYWORDS[field[2]]} record")
                return current
            return self.build(value[1], field[2], f"{where}.{name}")
        if kind == "colors":
            toks = value[1] if value[0] == "scalars" else []
            if not toks or len(toks) > field[2]:
                self.error(where, f"{name}: expected 1 to {field[2]} colours")
                return current
            out = list(current)
            for i, tok in enumerate(toks):
                out[i] = self.number(where, tok, "color", name)
            return out
        if kind == "rect":
            toks = self.scalars(where, field, value, 4)
            return tuple(self.number(where, t, "i32", name) for t in toks) if toks else current
        if kind in ("text", "sized"):
            toks = self.scalars(where, field, value, 1)
            if not toks:
                return current
            if toks[0][0] != "string":
                self.error(where, f"{name}: expected a quoted text")
                return current
            text = toks[0][1]
            if kind == "text" and (len(text) > field[2] - 1 or b"\0" in text):
                self.error(where, f"{name}: longer than {field[2] - 1} characters")
                return current
            return text
        if kind in PACK or kind == "rgb":
            toks = self.scalars(where, field, value, 1)
            return self.number(where, toks[0], kind, name) if toks else current
        self.error(where, f"{name} cannot be set")
        return current

    def apply_fields(self, where, layout, given, values):
        by_name = {f[1]: f for f in layout if f[0] not in ("pad", "children", "properties")}
        seen = set()
        for name, value, line in given:
            here = f"{where} (line {line})"
            if name not in by_name:
                self.error(here, f"no field {name!r} here")
                continue
            if name in seen:
                self.error(here, f"{name} given twice")
            seen.add(name)
            values[name] = self.convert(here, by_name[name], value, values[name])
        return values

    def check_name(self, where, name):
        if not name or len(name) > L.NAME_BYTES - 1 or not all(0x20 <= b < 0x7F for b in name):
            self.error(where, f"name {name!r} must be 1 to {L.NAME_BYTES - 1} printable ASCII characters")

    def build(self, node, code, where):
        obj = new_object(code, node.name)
        self.check_name(where, node.name)
        obj.values = self.apply_fields(where, LAYOUTS[code], node.fields, obj.values)
        for child in node.children:
            here = f"{where}/{child.name.decode('latin-1')}"
            ccode = L.TYPE_CODES.get(child.keyword)
            if ccode is None:
                self.error(here, f"unknown object type {child.keyword!r}")
                continue
            if ccode in L.TOP_ONLY or ccode in L.NOT_AN_OBJECT:
                self.error(here, f"a {child.keyword} cannot be a child")
                continue
            obj.children.append(self.build(child, ccode, here))
        self.unique(where, obj.children)
        obj.children.sort(key=lambda o: o.name)
        if node.properties and code != L.TYPE_CODES["PropertySet"]:
            self.error(where, "only a PropertySet has properties")
        for prop in node.properties:
            obj.properties.append(self.property(f"{where}.property {prop.name.decode('latin-1')}", prop))
        return obj

    def property(self, where, node):
        self.check_name(where, node.name)
        prop = {"kind": 0, "label": b"", "name": node.name, "data": b"", "text": None}
        for name, value, line in node.fields:
            here = f"{where} (line {line})"
            toks = value[1] if value[0] == "scalars" and len(value[1]) == 1 else None
            if toks is None:
                self.error(here, f"{name}: expected one value")
            elif name == "color":
                colour = self.number(here, toks[0], "color", name)
                prop["kind"], prop["data"] = 2, struct.pack("<I", colour)
            elif name == "kind":
                prop["kind"] = self.number(here, toks[0], "i32", name)
            elif name == "data" and toks[0][0] == "hex":
                prop["data"] = toks[0][1]
            elif name in ("label", "text") and toks[0][0] == "string":
                limit = L.LABEL_BYTES - 1 if name == "label" else 1 << 20
                if len(toks[0][1]) > limit:
                    self.error(here, f"{name}: too long")
                prop[name] = toks[0][1]
            else:
                self.error(here, f"no property field {name!r} of that form")
        return prop

    def unique(self, where, objects):
        names = [o.name for o in objects]
        for name in sorted({n for n in names if names.count(n) > 1}):
            self.error(where, f"the name {name.decode('latin-1')!r} is used twice")

    # ---- the whole skin

    def compile(self, text, pictures):
        try:
            doc = parse(text)
        except DescriptionError as e:
            self.errors.append(str(e))
            return None
        skin = {"author": b"", "objects": [], "sounds": [], "images": load_pictures(self, pictures)}
        for name, value, line in doc.fields:
            if name != "author" or value[0] != "scalars" or value[1][0][0] != "string" or len(value[1][0][1]) > 153:
                self.error(f"line {line}", "only author = \"...\" (at most 153 characters) stands outside objects")
            else:
                skin["author"] = value[1][0][1]
        for node in doc.children:
            where = node.name.decode("latin-1")
            code = L.TYPE_CODES.get(node.keyword)
            if code is None:
                self.error(where, f"unknown object type {node.keyword!r}")
            elif code == L.TYPE_CODES["Voice"]:
                skin["sounds"].append(self.build(node, code, where))
            elif code in L.CHILD_ONLY or code in L.NOT_AN_OBJECT:
                self.error(where, f"a {node.keyword} cannot stand at the top level")
            else:
                obj = self.build(node, code, where)
                if node.name.decode("latin-1") in L.TYPE_NAMES and L.TYPE_NAMES[node.name.decode()] != code:
                    self.error(where, "an object named by a type name must be of that type")
                skin["objects"].append(obj)
        for key in ("objects", "sounds"):
            self.unique("the skin", skin[key])
            skin[key].sort(key=lambda o: o.name)
        self.check_pictures(skin)
        return skin

    def check_pictures(self, skin):
        used = set()

        def walk(where, layout, values):
            for f in layout:
                if f[0] == "group":
                    sub = values[f[1]]
                    if "source" in sub and "image" in sub:
                        self.check_reference(f"{where}.{f[1]}", sub, skin["images"], used)
                    walk(f"{where}.{f[1]}", f[2], sub)
                elif f[0] == "embedded":
                    obj = values[f[1]]
                    walk(f"{where}.{f[1]}", LAYOUTS[obj.code], obj.values)

        def visit(where, obj):
            walk(where, LAYOUTS[obj.code], obj.values)
            for child in obj.children:
                visit(f"{where}/{child.name.decode()}", child)

        for obj in skin["objects"]:
            visit(obj.name.decode("latin-1"), obj)
        for name in sorted(set(skin["images"]) - used):
            self.error(f"picture {name.decode()}", "is not used by any object")

    def check_reference(self, where, ref, images, used):
        if not ref["image"]:
            if ref["source"] != L.ZERO_RECT:
                self.error(where, "a source rectangle without an image")
            return
        image = images.get(ref["image"])
        if image is None:
            self.error(where, f"no picture named {ref['image'].decode('latin-1')!r}")
            return
        used.add(ref["image"])
        width, height = image[0], image[1]
        left, top, right, bottom = ref["source"]
        if not (0 <= left < right <= width and 0 <= top < bottom <= height):
            self.error(where, f"source {ref['source']} is not inside the {width} x {height} picture")
        if "margins" in ref:
            ml, mt, mr, mb = ref["margins"]
            if min(ref["margins"]) < 0 or ml + mr > right - left or mt + mb > bottom - top:
                self.error(where, f"margins {ref['margins']} do not fit the source {ref['source']}")
        if "mode" in ref and ref["mode"] not in MODES.values():
            self.error(where, f"mode {ref['mode']} is none of natural, tiled, stretched")


def load_pictures(compiler, folder):
    images = {}
    for entry in sorted(os.listdir(folder)):
        if not entry.lower().endswith(".bmp"):
            continue
        name = entry[:-4].encode("ascii", "replace")
        compiler.check_name(f"picture {entry}", name)
        with open(os.path.join(folder, entry), "rb") as f:
            data = f.read()
        if len(data) < 54 or data[:2] != b"BM" or struct.unpack_from("<I", data, 14)[0] != 40:
            compiler.error(f"picture {entry}", "is not a BMP with a 40-byte header")
            continue
        width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
        if bits != 24 or width <= 0 or height == 0:
            compiler.error(f"picture {entry}", "must be a 24-bit BMP")
            continue
        images[name] = (width, abs(height), data)
    return images


PROGRAM_OBJECTS = {
    "Application": 25, "MainFrame": 1, "Dialog": 1, "HotKeyDialog": 45, "Splitter": 100,
    "PushLikeButton": 4, "Button": 4, "CheckBox": 5, "ComboBox": 6, "Edit": 7, "GroupBox": 8, "ListBox": 9,
    "ProgressBar": 10, "Radio": 11, "ScrollBar": 12, "Slider": 13, "Static": 14, "StatusBar": 15, "Tab": 16,
    "PopupMenu": 17, "ToolBar": 23, "ControlBar": 24, "ScrollControl": 26, "Spin": 27, "ListView": 28,
    "TreeView": 29, "RichEdit": 30, "DateTime": 31, "ComboBoxEx": 33, "MonthCalendar": 35, "Rebar": 36,
    "Header": 37, "Animate": 40, "Tooltip": 42,
}
PROGRAM_CHILDREN = {
    "Dialog": {"LeftLanguageRadio": 11, "RightLanguageRadio": 11, "LanguageSelector": 4},
    "HotKeyDialog": {"HotKeyLeftLanguageRadio": 11, "HotKeyRightLanguageRadio": 11, "HotKeyLanguageSelector": 4},
}


def check_program_objects(compiler, skin):
    by_name = {o.name.decode(): o for o in skin["objects"]}
    for name, code in PROGRAM_OBJECTS.items():
        if name not in by_name or by_name[name].code != code:
            compiler.error("the skin", f"needs a {L.KEYWORDS[code]} named {name!r}")
    if not any(o.code == 44 for o in skin["objects"]):
        compiler.error("the skin", "needs a SysColorTable")
    for parent, wanted in PROGRAM_CHILDREN.items():
        kids = {c.name.decode(): c for c in by_name[parent].children} if parent in by_name else {}
        for name, code in wanted.items():
            if name not in kids or kids[name].code != code:
                compiler.error(parent, f"needs a {L.KEYWORDS[code]} child named {name!r}")
    splitter = by_name.get("Splitter")
    if splitter is not None:
        colours = {p["name"].decode("latin-1").upper() for p in splitter.properties if p["kind"] == 2 and len(p["data"]) == 4}
        for name in ("BGColor", "Highlight", "Shadow"):
            if name.upper() not in colours:
                compiler.error("Splitter", f"needs the colour property {name!r}")
    for obj in skin["objects"]:
        if obj.code in (1, 45) and not any(c.code == 38 and c.values["kind"] == 1 for c in obj.children):
            compiler.error(obj.name.decode(), "a frame needs a CaptionStatic of kind 1 for its caption text")


# ---- writing

def pack_text(value, size):
    return value[:size - 1].ljust(size, b"\0")


def write_fields(out, layout, values, obj):
    for f in layout:
        kind = f[0]
        if kind == "pad":
            out += b"\0" * f[1]
        elif kind == "group":
            write_fields(out, f[2], values[f[1]], obj)
        elif kind == "children":
            out += struct.pack("<i", len(obj.children))
            for child in obj.children:
                write_object(out, child)
        elif kind == "embedded":
            write_record(out, values[f[1]])
        elif kind == "properties":
            out += struct.pack("<i", len(obj.properties))
            for p in obj.properties:
                text = b"" if p["text"] is None else p["text"] + b"\0"
                out += struct.pack("<i", p["kind"]) + pack_text(p["label"], L.LABEL_BYTES)
                out += pack_text(p["name"], L.NAME_BYTES) + struct.pack("<I", len(p["data"])) + p["data"]
                out += struct.pack("<I", len(text)) + text
        elif kind == "text":
            out += pack_text(values[f[1]], f[2])
        elif kind == "rect":
            out += struct.pack("<4i", *values[f[1]])
        elif kind == "rgb":
            c = values[f[1]]
            out += bytes((c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF))
        elif kind == "colors":
            out += struct.pack(f"<{f[2]}I", *values[f[1]])
        elif kind == "bytes":
            out += values[f[1]]
        elif kind == "sized":
            out += struct.pack("<I", len(values[f[1]])) + values[f[1]]
        else:
            out += struct.pack(PACK[kind], values[f[1]])


def write_record(out, obj):
    out += pack_text(obj.name, L.NAME_BYTES)
    write_fields(out, LAYOUTS[obj.code], obj.values, obj)


def write_object(out, obj):
    out += struct.pack("<i", obj.code)
    write_record(out, obj)


def image_object(name, image):
    obj = new_object(18, name)
    obj.values["dataLength"], obj.values["data"] = len(image[2]), image[2]
    return obj


def body_bytes(skin):
    out = bytearray(b"GLOSSVANE_SKIN_FILE\0" + bytes((1, 18)))
    out += pack_text(skin["author"], 154)
    out += struct.pack("<i", len(skin["objects"])) + b"\0" * 8
    for obj in skin["objects"]:
        write_object(out, obj)
    out += struct.pack("<i", len(skin["images"]))
    for name in sorted(skin["images"]):
        write_object(out, image_object(name, skin["images"][name]))
    out += struct.pack("<i", len(skin["sounds"]))
    for obj in skin["sounds"]:
        write_object(out, obj)
    return bytes(out)


def compress(body):
    import lzo
    return struct.pack("<I", len(body)) + lzo.compress(body, 1, False)


# ---- the canonical description (what the engine's dump prints)

def quote(value):
    out = '"'
    for b in value.split(b"\0")[0]:
        if b in (0x22, 0x5C):
            out += "\\" + chr(b)
        elif 0x20 <= b < 0x7F:
            out += chr(b)
        else:
            out += "\\x%02X" % b
    return out + '"'


def colour_text(c):
    if c & 0xFF000000:
        return "0x%08X" % c
    return "#%02X%02X%02X" % (c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)


def fnv1a(data):
    h = 2166136261
    for b in data:
        h = ((h ^ b) * 16777619) & 0xFFFFFFFF
    return "fnv1a:%08X" % h


class Printer:
    def __init__(self):
        self.lines, self.indent = [], 0

    def line(self, name, value):
        self.lines.append(" " * self.indent + f"{name} = {value}")

    def open(self, head):
        self.lines.append(" " * self.indent + head + " {")
        self.indent += 2

    def close(self):
        self.indent -= 2
        self.lines.append(" " * self.indent + "}")

    def fields(self, layout, values, obj):
        for f in layout:
            kind = f[0]
            if kind == "pad":
                continue
            if kind == "group":
                self.open(f"{f[1]} =")
                self.fields(f[2], values[f[1]], obj)
                self.close()
            elif kind == "children":
                for child in obj.children:
                    self.object(child)
            elif kind == "embedded":
                sub = values[f[1]]
                self.open(f"{f[1]} = {L.KEYWORDS[sub.code]} {quote(sub.name)}")
                self.fields(LAYOUTS[sub.code], sub.values, sub)
                self.close()
            elif kind == "properties":
                for p in obj.properties:
                    self.open(f"property {quote(p['name'])}")
                    self.line("kind", p["kind"])
                    self.line("label", quote(p["label"]))
                    self.line("data", 'x"' + p["data"].hex().upper() + '"')
                    if p["text"] is not None:
                        self.line("text", quote(p["text"]))
                    self.close()
            elif kind == "colors":
                self.open(f"{f[1]} =")
                for i, c in enumerate(values[f[1]]):
                    self.line(str(i), colour_text(c))
                self.close()
            elif kind in ("text", "sized"):
                self.line(f[1], quote(values[f[1]]))
            elif kind == "rect":
                self.line(f[1], " ".join(str(v) for v in values[f[1]]))
            elif kind in ("color", "rgb"):
                self.line(f[1], colour_text(values[f[1]]))
            elif kind == "bytes":
                self.line(f[1], fnv1a(values[f[1]]))
            else:
                self.line(f[1], values[f[1]])

    def object(self, obj, extra=None):
        self.open(f"{L.KEYWORDS[obj.code]} {quote(obj.name)}")
        self.fields(LAYOUTS[obj.code], obj.values, obj)
        for name, value in extra or []:
            self.line(name, value)
        self.close()


def normalized(skin):
    p = Printer()
    p.open("skin")
    p.line("major", 1)
    p.line("minor", 18)
    p.line("author", quote(skin["author"]))
    p.close()
    for obj in skin["objects"]:
        p.object(obj)
    for name in sorted(skin["images"]):
        image = skin["images"][name]
        p.object(image_object(name, image), [("decoded", f"{image[0]} {image[1]}")])
    for obj in skin["sounds"]:
        p.object(obj)
    return "\n".join(p.lines) + "\n"


def main(argv=None):
    ap = argparse.ArgumentParser(description="Compiles a skin description into a skin file.")
    ap.add_argument("description")
    ap.add_argument("pictures")
    ap.add_argument("-o", "--output", required=True)
    ap.add_argument("--body", help="also write the expanded body here")
    ap.add_argument("--normalized", help="also write the canonical description here")
    ap.add_argument("--partial", action="store_true", help="do not insist on the program's objects")
    args = ap.parse_args(argv)
    compiler = Compiler()
    with open(args.description, encoding="latin-1") as f:
        skin = compiler.compile(f.read(), args.pictures)
    if skin is not None and not args.partial:
        check_program_objects(compiler, skin)
    if compiler.errors:
        for e in compiler.errors:
            print(f"skinc: {args.description}: {e}", file=sys.stderr)
        return 1
    body = body_bytes(skin)
    outputs = [(args.output, compress(body))]
    if args.body:
        outputs.append((args.body, body))
    if args.normalized:
        outputs.append((args.normalized, normalized(skin).encode("latin-1")))
    for path, data in outputs:
        with open(path, "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
