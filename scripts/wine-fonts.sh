#!/usr/bin/env bash
# Makes a Wine prefix draw the faces the program names with Debian's fonts (installed by
# setup.sh), so text measures and looks the same on every machine: Verdana as DejaVu Sans
# (both descend from the same humanist design), Arial as its metric twin Liberation Sans,
# Courier as Liberation Mono. Without this Wine draws all three with one sans face.
# The prefix is the one scripts/wine-env.sh chooses (WORDMERE_WINEPREFIX to pick another).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
reg="$(mktemp --suffix=.reg)"
trap 'rm -f "$reg"' EXIT
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"Verdana"="DejaVu Sans"\r\n"Arial"="Liberation Sans"\r\n"Courier"="Liberation Mono"\r\n' >"$reg"
"$here/scripts/wine-env.sh" wine regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1
