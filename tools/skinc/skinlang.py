"""The description language of skins: a tokenizer and a parser into plain nodes.

    // a comment
    author = "Wordmere"
    Button "Button" {
        textColor = #202020
        normal = { image = "button" source = 0 0 60 24 margins = 4 4 4 4 }
        Static "Label" { id = 1001 }
    }

A field is `name = value`: scalars up to the end of the line (or up to the next `name =`),
a block in braces, or an embedded record `Type "name" { ... }`. Objects are `Type "name" { ... }`.
"""

import re


class DescriptionError(Exception):
    def __init__(self, message, line=None):
        super().__init__(f"line {line}: {message}" if line else message)


TOKEN = re.compile(r"""
    (?P<space>[ \t\r]+) | (?P<comment>//[^\n]*) | (?P<newline>\n|;) |
    (?P<hexstring>x"[0-9A-Fa-f]*") |
    (?P<string>"(?:[^"\\\n]|\\.)*") |
    (?P<color>\#[0-9A-Fa-f]{6}\b) |
    (?P<number>-?0[xX][0-9A-Fa-f]+|-?\d+) |
    (?P<word>[A-Za-z_][A-Za-z0-9_]*) |
    (?P<punct>[{}=])
""", re.VERBOSE)


def unescape(body, line):
    out, i = bytearray(), 0
    while i < len(body):
        c = body[i]
        if c != "\\":
            out += c.encode("latin-1")
            i += 1
            continue
        nxt = body[i + 1]
        if nxt == "x":
            out.append(int(body[i + 2:i + 4], 16))
            i += 4
        elif nxt in "\"\\":
            out += nxt.encode()
            i += 2
        else:
            raise DescriptionError(f"unknown escape \\{nxt}", line)
    return bytes(out)


def tokenize(text):
    tokens, line, pos = [], 1, 0
    while pos < len(text):
        m = TOKEN.match(text, pos)
        if not m:
            raise DescriptionError(f"unexpected {text[pos]!r}", line)
        kind = m.lastgroup
        value = m.group()
        pos = m.end()
        if kind in ("space", "comment"):
            continue
        if kind == "newline":
            tokens.append(("end", None, line))
            line += value == "\n"
            continue
        if kind == "string":
            tokens.append(("string", unescape(value[1:-1], line), line))
        elif kind == "hexstring":
            tokens.append(("hex", bytes.fromhex(value[2:-1]), line))
        elif kind == "color":
            tokens.append(("color", int(value[1:], 16), line))
        elif kind == "number":
            tokens.append(("number", int(value, 0), line))
        else:
            tokens.append((kind if kind == "word" else value, value, line))
    tokens.append(("eof", None, line))
    return tokens


class Node:
    """An object or embedded record: type keyword, name, fields in order, children."""

    def __init__(self, keyword, name, line):
        self.keyword, self.name, self.line = keyword, name, line
        self.fields, self.children, self.properties = [], [], []


class Parser:
    def __init__(self, text):
        self.tokens = tokenize(text)
        self.i = 0

    def peek(self, ahead=0):
        return self.tokens[min(self.i + ahead, len(self.tokens) - 1)]

    def take(self, kind=None):
        tok = self.peek()
        if kind and tok[0] != kind:
            raise DescriptionError(f"expected {kind}, found {tok[1]!r}", tok[2])
        self.i += 1
        return tok

    def skip_ends(self):
        while self.peek()[0] == "end":
            self.i += 1

    def starts_field(self):
        return self.peek()[0] == "word" and self.peek(1)[0] == "="

    def starts_object(self):
        return self.peek()[0] == "word" and self.peek(1)[0] == "string"

    def document(self):
        top = Node(None, b"", 1)
        self.members(top, closing="eof")
        return top

    def members(self, node, closing):
        while True:
            self.skip_ends()
            tok = self.peek()
            if tok[0] == closing:
                self.take()
                return
            if self.starts_field():
                name = self.take()[1]
                self.take("=")
                node.fields.append((name, self.value(), tok[2]))
            elif tok[0] == "word" and tok[1] == "property" and self.peek(1)[0] == "string":
                self.take()
                prop = Node("property", self.take()[1], tok[2])
                self.take("{")
                self.members(prop, closing="}")
                node.properties.append(prop)
            elif self.starts_object():
                node.children.append(self.object())
            else:
                raise DescriptionError(f"expected a field or an object, found {tok[1]!r}", tok[2])

    def object(self):
        keyword, line = self.take("word")[1], self.peek()[2]
        node = Node(keyword, self.take("string")[1], line)
        self.take("{")
        self.members(node, closing="}")
        return node

    def value(self):
        tok = self.peek()
        if tok[0] == "{":
            self.take()
            block = Node(None, None, tok[2])
            self.members(block, closing="}")
            if block.children or block.properties:
                raise DescriptionError("a block holds fields only", tok[2])
            return ("block", block.fields, tok[2])
        if self.starts_object():
            return ("record", self.object(), tok[2])
        scalars = []
        while self.peek()[0] not in ("end", "}", "eof") and not self.starts_field():
            t = self.take()
            if t[0] not in ("number", "color", "string", "hex", "word"):
                raise DescriptionError(f"unexpected {t[1]!r} in a value", t[2])
            scalars.append(t)
        if not scalars:
            raise DescriptionError("a field without a value", tok[2])
        return ("scalars", scalars, tok[2])


def parse(text):
    return Parser(text).document()
