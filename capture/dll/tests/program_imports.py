#!/usr/bin/env python3
"""The program binds tchk.dll at load time: its four control functions by ordinal (13-16),
TCHKGetProcessFileName, TCHKSetActivationMethod and gsTraceFileName by name. Read from the
import table that objdump prints."""
import re
import subprocess
import sys


def imports_of(objdump, exe, dll):
    out = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    block = re.search(r"DLL Name: %s\n(.*?)\n\n" % re.escape(dll), out, re.S | re.I)
    if not block:
        return None
    ordinals, names = set(), set()
    for line in block.group(1).splitlines()[1:]:
        fields = line.split()
        if len(fields) < 3:
            continue
        # "8000000d  13  <none>" is an import by ordinal; "19df0c  17  Name" one by name.
        if fields[2] == "<none>" and int(fields[0], 16) & 0x80000000:
            ordinals.add(int(fields[1]))
        else:
            names.add(fields[2])
    return ordinals, names


def main():
    objdump, exe = sys.argv[1], sys.argv[2]
    found = imports_of(objdump, exe, "tchk.dll")
    if found is None:
        print("FAIL wordmere.exe does not import tchk.dll")
        return 1
    ordinals, names = found
    failures = 0
    for ok, what in [
        (ordinals == {13, 14, 15, 16}, "ordinals 13-16 imported by ordinal: %s" % sorted(ordinals)),
        ({"TCHKGetProcessFileName", "TCHKSetActivationMethod", "gsTraceFileName"} <= names,
         "the others by name: %s" % sorted(names)),
        (not any(n.startswith("TCHKInit") or n.startswith("TCHKBegin") for n in names),
         "no control function by name"),
    ]:
        print(("ok   " if ok else "FAIL ") + what)
        failures += not ok
    print("%d passed, %d failed" % (3 - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
