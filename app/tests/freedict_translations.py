#!/usr/bin/env python3
"""Prints the translations the FreeDict source has for a headword, '|'-separated: the
words of each entry's translation lines (numbering, grammar tags and examples dropped).
An independent oracle for the look-up test: it reads the dictd files directly.
Usage: freedict_translations.py DICTD_DIR DATABASE WORD"""
import gzip
import re
import sys

B64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"


def number(text):
    value = 0
    for ch in text:
        value = value * 64 + B64.index(ch)
    return value


def entries(base, word):
    data = gzip.open(base + ".dict.dz").read()
    with open(base + ".index", encoding="utf-8") as index:
        for line in index:
            fields = line.rstrip("\n").split("\t")
            if len(fields) >= 3 and fields[0] == word:
                start, size = number(fields[1]), number(fields[2])
                yield data[start:start + size].decode("utf-8")


def translations(entry):
    out = []
    for line in entry.split("\n")[1:]:
        if not line.strip() or line.startswith(" "):  # examples and notes are indented
            continue
        line = re.sub(r"^\d+\.\s*", "", line)
        line = re.sub(r"<[^>]*>|\[[^\]]*\]|\([^)]*\)", "", line)
        for part in re.split(r"[,;]", line):
            part = part.strip()
            if part and not part.startswith(("see:", "Synonym", "Note")):
                out.append(part)
    return out


def main():
    directory, database, word = sys.argv[1:4]
    found = []
    for entry in entries(f"{directory}/freedict-{database}", word):
        for t in translations(entry):
            if t not in found:
                found.append(t)
    print("|".join(found))


if __name__ == "__main__":
    main()
