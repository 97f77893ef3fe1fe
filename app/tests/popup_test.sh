#!/usr/bin/env bash
# The pop-up look-up window end to end under Wine: the program runs with the sample
# English-French module and the real capture library; a target program of ours shows words
# drawn in several ways; the driver points at each word and presses the activation key
# (SendInput), then checks where the pop-up appears, what its search box and list show and
# what its Copy command copies (against the FreeDict source), that the pointer leaving it
# hides it, the accessibility fallback's messages with stand-in viewer programs, and the
# time from the key press to the painted translation. A screenshot of the pop-up over the
# target is kept in ARTIFACT_DIR. Runs in a display and a Wine prefix of its own (a copy
# of the checkout's), so nothing else takes the keys or covers the target (inside a shared Wine
# session, the session's: see scripts/wine-test.sh).
# Usage: popup_test.sh BIN_DIR ARTIFACT_DIR SAMPLE_MODULES REQUIRED
set -u
bin="$(cd "$1" && pwd)"
mkdir -p "$2"
art="$(cd "$2" && pwd)"
samples="${3:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$here/scripts/wine-test.sh"
require_sample_modules "$samples" "${4:-0}" "the pop-up checks are" english-french.lxd

wine_test_begin "$art" copy "$@"
status=0
fail() { echo "FAIL $*"; status=1; }
winpath() { echo "Z:${1//\//\\}"; }
start=$(date +%s)

run="$art/run"
rm -rf "$run"
mkdir -p "$run/dictionaries"
cp "$bin/wordmere.exe" "$bin/tchk.dll" "$bin/wordmere_driver.exe" "$bin/wordmere_popup_target.exe" \
   "$bin/wordmere_viewer6.exe" "$bin/wordmere_viewer8.exe" "$run/"
cp "$samples/english-french.lxd" "$run/dictionaries/"
source "$here/app/tests/driver-batch.sh"

# The translations the FreeDict source has for the target's words.
oracle="$run/oracle.txt"
: >"$oracle"
for word in house water book cat tree; do
  printf '%s\t%s\n' "$word" "$(python3 "$here/app/tests/freedict_translations.py" /usr/share/dictd eng-fra "$word")" >>"$oracle"
done

# One Wine server for the whole run: where 32-bit programs run emulated, each start of a
# server costs a minute.
w wineserver -p
# Until the options dialog writes them: the activation key F2 and the pair English-French.
driver popupsettings F2 English French
driver start "$(winpath "$run")\\wordmere.exe" en -
probes="$(winpath "$run")\\probes.txt"
# The program's start runs here: inside the background command below a failed check of it
# would be lost with that subshell.
flush_driver
w wine "$run/wordmere_popup_target.exe" "$probes" &
wait_for_line "$run/probes.txt" '^ready' $! 120 || fail "the target did not show its words"

echo "== captured words in the pop-up"
driver popup "$probes" "$(winpath "$oracle")" TextOutW
sleep 0.5
import -window root "$art/popup-over-target.png" || fail "screenshot"
# The screenshot shows the pop-up where the driver last saw it: over the target's white
# background, most of that rectangle is the pop-up's own drawing.
if read -r left top right bottom < <(tr -d '\r' <"$run/probes.txt.shown" 2>/dev/null) && [ -n "${bottom:-}" ]; then
  place="$left,$top - $right,$bottom"
  white="$(convert "$art/popup-over-target.png" -crop "$(( right - left ))x$(( bottom - top ))+$left+$top" +repage \
           -colorspace gray -threshold 97% -format '%[fx:mean]' info:)"
  if awk -v w="${white:-1}" 'BEGIN { exit !(w < 0.9) }'; then
    echo "ok   the screenshot shows the pop-up at $place (near-white share $white)"
  else
    fail "the screenshot shows no pop-up at $place (near-white share $white)"
  fi
else
  fail "the driver did not say where the pop-up is"
fi
echo "== the pointer leaves the pop-up"
driver popuptrack "$probes" water
echo "== the accessibility fallback"
driver popupfallback "$probes" none "Unable to detect word."
driver popupfallback "$probes" "$(winpath "$run")\\wordmere_viewer6.exe" \
  "Please upgrade your version of Adobe Acrobat Reader to version 7.0 or higher."
driver popupfallback "$probes" "$(winpath "$run")\\wordmere_viewer8.exe" "Unable to detect word."
echo "== latency"
T=300 driver popuplatency "$probes" 40
driver quit
flush_driver

echo "popup_test: $(( $(date +%s) - start )) s"
[ "$status" -eq 0 ] && echo "popup_test: all passed" || echo "popup_test: FAILED"
exit "$status"
