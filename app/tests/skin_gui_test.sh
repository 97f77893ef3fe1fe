#!/usr/bin/env bash
# The program's skin under Wine, read from the screen, in the three ways the platform class
# makes scroll bars: Wine's own version (the system's bars) and wordmere.exe reported as
# Windows XP (entry patching) and as Windows 98 (import patching), each set by the driver in
# the program's AppDefaults key before its start. In each: the result list's bar follows Home,
# the wheel, Page Down and End (the skin's bar from the skin's pictures, or the system's), and
# the search box's edit and drop list are in the skin's colours. Screenshots kept in the
# artifact folder.
# Usage: skin_gui_test.sh BIN_DIR ARTIFACT_DIR SAMPLE_MODULES [REQUIRED]
set -u
bin="$(cd "$1" && pwd)"
mkdir -p "$2"
art="$(cd "$2" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$here/scripts/wine-test.sh"
wine_test_begin "$art" new "$@"
status=0
fail() { echo "FAIL $*"; status=1; }

samples="${3:-}"
# The list's bar shows positions in the dictionary: a small one of its own (sixty entries,
# made with the native build's lxdbuild beside the sample modules) lets a line of the wheel
# move the thumb by pixels.
require_sample_modules "$samples" "${4:-0}" "the skin checks are" english-french.lxd
lxdbuild="$samples/../tools/lxdbuild/lxdbuild"
[ -x "$lxdbuild" ] || { fail "no lxdbuild beside the sample modules in \"$samples\" (the native build makes both)"; exit 1; }
pictures="$bin/../skin/pictures"
[ -f "$pictures/scroll.bmp" ] || { fail "the skin's pictures are not in $pictures"; exit 1; }
small="$art/small"
rm -rf "$small"
mkdir -p "$small"
python3 - "$small/freedict-eng-fra" <<'PY'
import sys
alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
def b64(n):
    s = ""
    while True:
        s = alphabet[n % 64] + s
        n //= 64
        if n == 0:
            return s
text, index = b"", []
for i in range(1, 61):
    article = ("word%02d /w\u025c\u02d0d/\nmot%02d\n" % (i, i)).encode("utf-8")
    index.append("word%02d\t%s\t%s\n" % (i, b64(len(text)), b64(len(article))))
    text += article
open(sys.argv[1] + ".dict", "wb").write(text)
open(sys.argv[1] + ".index", "w").write("".join(index))
PY
run="$art/run"
rm -rf "$run"
mkdir -p "$run/dictionaries"
cp "$bin/wordmere.exe" "$bin/tchk.dll" "$bin/wordmere_driver.exe" "$run/"
"$lxdbuild" build -o "$run/dictionaries/english-french.lxd" "$small/freedict-eng-fra" >"$small/lxdbuild.log" 2>&1 ||
  { cat "$small/lxdbuild.log"; fail "lxdbuild could not make the small dictionary"; exit 1; }
rm -f "$art"/*.bmp
exe="Z:${run//\//\\}\\wordmere.exe"
win() { local p; p="$(cd "$1" && pwd)"; echo "Z:${p//\//\\}"; }
source "$here/app/tests/driver-batch.sh"

modes="${WORDMERE_SKIN_GUI_MODES:-default winxp win98}"  # fewer while working on one
for mode in $modes; do
  bars=skinned
  [ "$mode" = default ] && bars=system
  echo "== $mode: the result list with the $bars bar"
  driver forget
  driver winversion "$mode"
  driver start "$exe" en -
  driver size 520 420
  driver resultbars "$bars" word30 60 "$(win "$pictures")" "$(win "$art")\\bars-$mode.bmp"
  driver fields "$(win "$art")\\fields-$mode.bmp"
  driver quit
done
driver winversion default
flush_driver
for mode in $modes; do
  for shot in bars fields; do
    [ -s "$art/$shot-$mode.bmp" ] || fail "no screenshot $shot-$mode.bmp"
  done
done
[ "$status" -eq 0 ] && echo "skin_gui_test: all passed" || echo "skin_gui_test: FAILED"
exit "$status"
