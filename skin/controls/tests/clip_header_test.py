#!/usr/bin/env python3
"""The test clip's header as libmagic reads it: an independent reader of the RIFF AVI layout
that make_clip.py writes and the clip reader parses. Usage: clip_header_test.py FILE CLIP"""
import subprocess
import sys


def main(file_command, clip):
    answer = subprocess.run([file_command, "-b", clip], check=True, capture_output=True, text=True).stdout.strip()
    expected = "RIFF (little-endian) data, AVI, 5 x 3, 10.00 fps, video: uncompressed"
    if answer != expected:
        print(f"file reads the clip as {answer!r}, expected {expected!r}")
        return 1
    print(answer)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
