#!/usr/bin/env bash
# What a user sees, skinned: screenshots of the whole program in each mode of the view (standard,
# browse, advanced), with the menu bar's first menu open, with a dialog (the numbers dialog) and
# with the pop-up look-up window over a target of ours, and with the toolbar's skinned tooltip,
# kept in the artifact folder. The driver
# writes where the program's windows are at each screenshot; skinned_shots.py then checks the
# screenshots (decoded by ImageMagick) at points computed from those places against the default
# skin's own pictures: the main window's, the dialog's and the pop-up's frames, and the menu's border.
# Usage: screens_test.sh BIN_DIR ARTIFACT_DIR SKIN_DIR [SAMPLE_MODULES [REQUIRED]].
set -u
bin="$(cd "$1" && pwd)"
mkdir -p "$2"
art="$(cd "$2" && pwd)"
skin="$3"
samples="${4:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$here/scripts/wine-test.sh"
require_sample_modules "$samples" "${5:-0}" "the screenshots are" english-french.lxd
for f in frame_active.bmp frame_inactive.bmp popup_frame.bmp menus.bmp bars.bmp; do
  [ -f "$skin/pictures/$f" ] || { echo "FAIL the default skin's picture $skin/pictures/$f is missing (target default_skin)"; exit 1; }
done
command -v convert >/dev/null || { echo "FAIL ImageMagick's convert is needed to read the screenshots"; exit 1; }

wine_test_begin "$art" copy "$@"
status=0
fail() { echo "FAIL $*"; status=1; }
winpath() { echo "Z:${1//\//\\}"; }
start=$(date +%s)

run="$art/run"
shots="$art/layout"
rm -rf "$run" "$shots"
mkdir -p "$run/dictionaries" "$shots"
rm -f "$art"/*.png
cp "$bin/wordmere.exe" "$bin/tchk.dll" "$bin/wordmere_driver.exe" "$bin/wordmere_popup_target.exe" "$run/"
cp "$samples/english-french.lxd" "$run/dictionaries/"
source "$here/app/tests/driver-batch.sh"

oracle="$run/oracle.txt"
: >"$oracle"
for word in house water book cat tree; do
  printf '%s\t%s\n' "$word" "$(python3 "$here/app/tests/freedict_translations.py" /usr/share/dictd eng-fra "$word")" >>"$oracle"
done

# The driver waits at each "screenshot" while the screenshot is taken here, so each batch of states
# costs one driver start.
layout="$(winpath "$shots")"
take_shots() { # take_shots NAME... : runs the gathered phases and takes their screenshots
  flush_driver &
  local batch_pid=$! name
  for name in "$@"; do
    if wait_for_line "$shots/$name.ready" '^ready' $batch_pid 600; then
      sleep 0.5
      command import -window root "$art/$name.png" || fail "screenshot $name"
      echo done >"$shots/$name.done"
    else
      fail "the program never reached the state $name"
    fi
  done
  wait "$batch_pid" || fail "driver phases before the screenshots $*"
}

w wineserver -p
driver popupsettings F2 English French
driver start "$(winpath "$run")\\wordmere.exe" en -
driver mode 1 house
driver screenshot standard "$layout"
# The main window's toolbar and status bar read from the screen in the skin's colours.
driver bars "$(winpath "$skin/pictures/bars.bmp")"
driver mode 2 house
driver screenshot browse "$layout"
driver mode 3 house
driver screenshot advanced "$layout"
driver mode 1 house
driver openmenu
driver screenshot menu "$layout"
driver closemenu
driver opendialog 11530
driver screenshot dialog "$layout"
driver closedialog
# The toolbar's skinned tooltip: shown after the show delay beside the pointer, taken in the
# screenshot, then over the next button (the subject follows the pointer), hidden after the
# hide delay.
driver tooltip 0
driver screenshot tooltip "$layout"
driver tooltipnext
driver tooltiphide
take_shots standard browse advanced menu dialog tooltip

# The pop-up over the target, which shows its words only now, so that it hides nothing before.
probes="$(winpath "$run")\\probes.txt"
w wine "$run/wordmere_popup_target.exe" "$probes" &
wait_for_line "$run/probes.txt" '^ready' $! 60 || fail "the target did not show its words"
driver popup "$probes" "$(winpath "$oracle")" TextOutW
driver screenshot popup "$layout"
driver quit
take_shots popup

echo "== the screenshots are skinned"
python3 "$here/app/tests/skinned_shots.py" "$art" "$shots" "$skin/pictures" standard browse advanced menu dialog tooltip popup ||
  fail "pixel probes"

echo "screens_test: $(( $(date +%s) - start )) s"
[ "$status" -eq 0 ] && echo "screens_test: all passed" || echo "screens_test: FAILED"
exit "$status"
