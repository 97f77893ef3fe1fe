#!/usr/bin/env python3
"""Prints deb-src entries that mirror the machine's own apt sources.

Reads etc/apt/sources.list and etc/apt/sources.list.d/*.list (one-line format) and
etc/apt/sources.list.d/*.sources (deb822 format) under ROOT, and prints, in deb822
format, one deb-src entry for each enabled deb entry: the same URIs, suites, components
and Signed-By. Prints nothing when some deb-src entry is configured already. Exits 1,
saying so, when there is no deb entry to derive one from.

  deb_src_sources.py [ROOT]
"""
import glob
import os
import sys


def one_line_entries(path):
    """(types, fields) of each entry of a one-line sources file."""
    entries = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            words = line.split()
            kind = words.pop(0)
            fields = {}
            if words and words[0].startswith("["):
                options = []
                while words:
                    w = words.pop(0)
                    options.append(w.strip("[]"))
                    if w.endswith("]"):
                        break
                for option in " ".join(options).split():
                    key, _, value = option.partition("=")
                    if key == "signed-by":
                        fields["Signed-By"] = value
            if len(words) < 2:
                continue
            fields["URIs"] = words[0]
            fields["Suites"] = words[1]
            if words[2:]:
                fields["Components"] = " ".join(words[2:])
            entries.append(([kind], fields))
    return entries


def deb822_entries(path):
    """(types, fields) of each stanza of a deb822 sources file; continuation lines kept."""
    entries = []
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    for stanza in text.split("\n\n"):
        fields = {}
        key = None
        for line in stanza.splitlines():
            if line.startswith("#") or not line.strip():
                continue
            if line[0] in " \t" and key:
                fields[key] += "\n" + line
                continue
            key, _, value = line.partition(":")
            key = key.strip()
            fields[key] = value.strip()
        if "Types" not in fields or fields.get("Enabled", "yes").strip().lower() == "no":
            continue
        entries.append((fields.pop("Types").split(), fields))
    return entries


def configured(root):
    apt = os.path.join(root, "etc", "apt")
    entries = []
    lists = [os.path.join(apt, "sources.list")] + sorted(glob.glob(os.path.join(apt, "sources.list.d", "*.list")))
    for path in lists:
        if os.path.isfile(path):
            entries += one_line_entries(path)
    for path in sorted(glob.glob(os.path.join(apt, "sources.list.d", "*.sources"))):
        entries += deb822_entries(path)
    return entries


def main(argv):
    root = argv[1] if len(argv) > 1 else "/"
    entries = configured(root)
    if any("deb-src" in types for types, _ in entries):
        return 0
    stanzas = []
    for types, fields in entries:
        if "deb" not in types or fields.get("URIs", "").startswith("cdrom:"):
            continue
        stanza = ["Types: deb-src"]
        for key in ("URIs", "Suites", "Components", "Signed-By"):
            if key in fields:
                stanza.append("%s: %s" % (key, fields[key]))
        if stanza not in stanzas:
            stanzas.append(stanza)
    if not stanzas:
        sys.stderr.write("no apt source is configured to derive a deb-src entry from: "
                         "add one for your Debian mirror to /etc/apt/sources.list.d/\n")
        return 1
    print("\n\n".join("\n".join(s) for s in stanzas))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
