#!/usr/bin/env python3
"""deb_src_sources.py against apt itself: for sample apt configurations in both formats,
apt's own reading of the printed deb-src entries must name exactly the repositories,
suites and components that apt reads from the configuration's deb entries."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "deb_src_sources.py")

ONE_LINE = """\
# the main archive
deb http://mirror.example.org/debian bookworm main contrib
deb [arch=amd64 signed-by=/usr/share/keyrings/example.gpg] http://mirror.example.org/debian bookworm-updates main
deb http://security.example.org/debian-security bookworm-security main # trailing comment
deb cdrom:[Debian GNU/Linux 12]/ bookworm main
"""

DEB822 = """\
Types: deb
# a comment inside the stanza
URIs: http://ftp.example.net/debian
Suites: bookworm bookworm-backports
Components: main non-free-firmware
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://disabled.example.net/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb
URIs: http://flat.example.net/repo
Suites: ./
"""


def write(root, name, text):
    path = os.path.join(root, "etc", "apt", name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def apt_targets(source_list, source_parts, kind):
    """(repository, suite, component) of every index apt would fetch for entries of kind."""
    with tempfile.TemporaryDirectory() as lists:
        out = subprocess.run(
            ["apt-get", "-o", "Dir::Etc::SourceList=" + source_list, "-o", "Dir::Etc::SourceParts=" + source_parts,
             "-o", "Dir::State::Lists=" + lists, "indextargets", "--no-release-info",
             "--format", "$(TARGET_OF)|$(REPO_URI)|$(RELEASE)|$(COMPONENT)"],
            check=True, stdout=subprocess.PIPE, text=True).stdout
    found = set()
    for line in out.splitlines():
        parts = line.split("|")
        if len(parts) == 4 and parts[0] == kind and not parts[1].startswith("cdrom:"):
            found.add(tuple(parts[1:]))
    return found


def derive(root):
    return subprocess.run([sys.executable, SCRIPT, root], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)


class DebSrcFromTheMachinesSources(unittest.TestCase):
    def check(self, files):
        with tempfile.TemporaryDirectory() as root:
            for name, text in files.items():
                write(root, name, text)
            apt = os.path.join(root, "etc", "apt")
            wanted = apt_targets(os.path.join(apt, "sources.list"), os.path.join(apt, "sources.list.d"), "deb")
            self.assertTrue(wanted)
            done = derive(root)
            self.assertEqual(done.returncode, 0, done.stderr)
            self.assertNotIn("example.org/debian bookworm main\n", done.stdout)   # deb822 out, never one-line
            write(root, "derived/wordmere-src.sources", done.stdout)
            got = apt_targets("/dev/null", os.path.join(apt, "derived"), "deb-src")
            self.assertEqual(got, wanted)
            return done.stdout

    def test_one_line_format(self):
        out = self.check({"sources.list": ONE_LINE})
        self.assertIn("Signed-By: /usr/share/keyrings/example.gpg", out)
        self.assertNotIn("cdrom", out)

    def test_deb822_format(self):
        out = self.check({"sources.list.d/debian.sources": DEB822})
        self.assertNotIn("disabled.example.net", out)

    def test_both_formats_together(self):
        self.check({"sources.list": ONE_LINE, "sources.list.d/debian.sources": DEB822,
                    "sources.list.d/ignored.list.disabled": "deb http://never.example.com/x y z\n"})

    def test_nothing_when_a_deb_src_entry_exists(self):
        with tempfile.TemporaryDirectory() as root:
            write(root, "sources.list", ONE_LINE + "deb-src http://mirror.example.org/debian bookworm main\n")
            done = derive(root)
            self.assertEqual((done.returncode, done.stdout), (0, ""))

    def test_refuses_when_nothing_is_configured(self):
        with tempfile.TemporaryDirectory() as root:
            write(root, "sources.list", "# nothing here\n")
            done = derive(root)
            self.assertEqual(done.returncode, 1)
            self.assertIn("no apt source", done.stderr)


if __name__ == "__main__":
    unittest.main()
