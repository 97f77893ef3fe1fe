#!/usr/bin/env python3
"""Writes the generated resource scripts: the string table and the menus in six languages."""
import sys
from pathlib import Path

LANGUAGE_MENUS = [500, 601, 602, 603, 604, 605]  # English, French, Spanish, German, Italian, Portuguese
OTHER_MENU = 606  # interface languages without a menu of their own


def rc_quote(text):
    # The data files write a line feed as \n and a tab as \t, which the resource compiler
    # reads as the same escapes; only quotes need doubling.
    return '"' + text.replace('"', '""') + '"'


def read_lines(path):
    for number, line in enumerate(Path(path).read_text(encoding="utf-8").splitlines(), 1):
        if line.strip() and not line.startswith("#"):
            yield number, line.split("\t")


def strings_rc(path):
    entries = {}
    for number, fields in read_lines(path):
        sid = int(fields[0])
        texts = fields[1:]
        if len(texts) == 1:
            keys = [(sid, texts[0])]
        elif len(texts) == 6:
            if not 11000 <= sid <= 19990 or sid % 10:
                sys.exit(f"{path}:{number}: translated string {sid} must be a multiple of ten in 11000..19990")
            keys = [(sid + i, t) for i, t in enumerate(texts)]
        else:
            sys.exit(f"{path}:{number}: expected one or six texts")
        for k, t in keys:
            if k in entries:
                sys.exit(f"{path}:{number}: string {k} defined twice")
            entries[k] = t
    out = ["STRINGTABLE", "BEGIN"]
    out += [f"    {k}, {rc_quote(entries[k])}" for k in sorted(entries)]
    out.append("END")
    return "\n".join(out) + "\n"


CONTEXT_MENUS = [610, 611, 612, 613, 614, 615]  # the result lists' context menu, same languages
CONTEXT_OTHER = 616  # interface language 11


def menus_rc(path, language_ids=LANGUAGE_MENUS, other_id=OTHER_MENU):
    lines = list(read_lines(path))

    def menu(resource_id, column):
        out = [f"{resource_id} MENU", "BEGIN"]
        depth = 1
        for number, fields in lines:
            pad = "    " * depth
            kind = fields[0]
            if kind == "POPUP":
                out.append(f"{pad}POPUP {rc_quote(fields[1 + column])}")
                out.append(f"{pad}BEGIN")
                depth += 1
            elif kind == "ITEM":
                out.append(f"{pad}MENUITEM {rc_quote(fields[2 + column])}, {int(fields[1])}")
            elif kind == "SEPARATOR":
                out.append(f"{pad}MENUITEM SEPARATOR")
            elif kind == "END":
                depth -= 1
                out.append("    " * depth + "END")
            else:
                sys.exit(f"{path}:{number}: unknown line {kind}")
        out.append("END")
        return "\n".join(out) + "\n"

    parts = [menu(rid, col) for col, rid in enumerate(language_ids)]
    parts.append(menu(other_id, 0))
    return "\n".join(parts)


def main():
    src, out = Path(sys.argv[1]), Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    header = "#pragma code_page(65001)\n"
    (out / "strings.rc").write_text(header + strings_rc(src / "strings.txt"), encoding="utf-8")
    menus = menus_rc(src / "menus.txt") + "\n" + menus_rc(src / "context_menu.txt", CONTEXT_MENUS, CONTEXT_OTHER)
    (out / "menus.rc").write_text(header + menus, encoding="utf-8")


if __name__ == "__main__":
    main()
