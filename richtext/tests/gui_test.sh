#!/usr/bin/env bash
# The rich-text drawer in a real window under Wine: the sample program paints a set of
# rich texts, screenshots of the display are kept in the artifact folder, and the pixels
# at the points the sample reports are checked in them; then the pointer moves onto a link,
# and the second screenshot must show it hovered (underlined) with the hand cursor.
# Usage: gui_test.sh SAMPLE_EXE ARTIFACT_DIR. Uses a Wine prefix and a display of its own (or
# those of a shared Wine session, see scripts/wine-test.sh).
set -u
exe="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
mkdir -p "$2"
art="$(cd "$2" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$here/scripts/wine-test.sh"
wine_test_begin "$art" new "$@"
status=0
fail() { echo "FAIL $*"; status=1; }

# The prefix is made once (wine-env.sh boots it) and given the fixed font set.
"$here/scripts/wine-fonts.sh" || fail "font set-up"

run="$art/run"
rm -rf "$run" "$art"/*.png
mkdir -p "$run"
wait_for() { # wait_for FILE SECONDS
  for _ in $(seq 1 $(( $(scaled "$2") * 10 ))); do [ -f "$1" ] && return 0; sleep 0.1; done
  return 1
}

w wine "$exe" "Z:${run//\//\\}" &
sample=$!
if wait_for "$run/report1.txt" 60; then
  sleep 1
  import -window root "$art/samples.png" || fail "screenshot"
  python3 "$here/richtext/tests/check_shots.py" probes "$run/report1.txt" "$art/samples.png" || status=1
  touch "$run/go.flag"
  if wait_for "$run/report2.txt" 30; then
    sleep 1
    import -window root "$art/samples-hover.png" || fail "screenshot"
    python3 "$here/richtext/tests/check_shots.py" hover "$run/report1.txt" "$run/report2.txt" \
      "$art/samples.png" "$art/samples-hover.png" || status=1
  else
    fail "the sample did not report the hover"
  fi
else
  fail "the sample window did not paint"
fi
touch "$run/quit.flag"
wait "$sample" || fail "the sample program ended with an error"
[ "$status" -eq 0 ] && echo "richtext gui: all passed (screenshots in $art)"
exit "$status"
