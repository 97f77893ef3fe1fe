#!/usr/bin/env python3
"""Checks that no engine file includes a header of a layer above its own.

The libraries already refuse a call upward at link time; this also catches what the linker
cannot see: an inline function, template or constant of a higher layer used from below.
Tests, fuzzers and benchmarks belong to the layer of their folder; testing/ may use any layer.

  check_layers.py ENGINE_DIR
"""
import os
import re
import sys

LAYERS = ["base", "model", "format", "search", "resultlist"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of_include(name):
    head = name.split("/", 1)[0]
    return head if head in LAYERS and "/" in name else None


def check(engine):
    faults = []
    for rank, layer in enumerate(LAYERS):
        for root, _, files in os.walk(os.path.join(engine, layer)):
            for f in files:
                if not f.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(root, f)
                with open(path, encoding="utf-8") as src:
                    for number, line in enumerate(src, 1):
                        m = INCLUDE.match(line)
                        target = m and layer_of_include(m.group(1))
                        if target and LAYERS.index(target) > rank:
                            faults.append("%s:%d: %s reaches up to %s" %
                                          (os.path.relpath(path, engine), number, layer, m.group(1)))
    return faults


def main():
    engine = sys.argv[1]
    missing = [l for l in LAYERS if not os.path.isdir(os.path.join(engine, l))]
    if missing:
        print("no layer folder: " + ", ".join(missing))
        return 1
    loose = [f for f in os.listdir(engine) if f.endswith((".h", ".cpp"))]
    if loose:
        print("engine sources outside every layer: " + ", ".join(sorted(loose)))
        return 1
    faults = check(engine)
    for f in faults:
        print(f)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
