#!/usr/bin/env bash
# The capture library under Wine: the driver arms the real tchk.dll and captures words
# that test targets of ours and Wine's notepad draw. Runs in a display and a Wine prefix of
# its own, so no other test's windows cover the targets and nothing else gets its keys (inside a
# shared Wine session, the session's: see scripts/wine-test.sh).
# Usage: capture_test.sh BIN_DIR ARTIFACT_DIR
set -u
bin="$(cd "$1" && pwd)"
mkdir -p "$2"
art="$(cd "$2" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
# A copy of the checkout's prefix (made by the set-up) starts in a second, a new one takes
# a minute or more.
source "$here/scripts/wine-test.sh"
wine_test_begin "$art" copy "$@"
T="${T:-480}"
winpath() { echo "Z:${1//\//\\}"; }

work="$art/work"
rm -rf "$work"
mkdir -p "$work"
status=0
start=$(date +%s)

# The target alone first: where it says its words are, the screenshot shows ink.
w wine "$bin/tchk_target.exe" "$(winpath "$work")\\shown.txt" &
wait_for_line "$work/shown.txt" '^ready' $! 120 || { echo "FAIL the target did not show its words"; status=1; }
sleep 0.5
import -window root "$art/target.png" || status=1
wine_test_end
wait
python3 "$(dirname "${BASH_SOURCE[0]}")/probe_ink.py" "$work/shown.txt" "$art/target.png" >"$work/ink.log" || status=1
grep -v '^ok' "$work/ink.log"

w wine "$bin/tchk_driver.exe" "$(winpath "$bin")" "$(winpath "$work")" || status=1
echo "capture_test: $(( $(date +%s) - start )) s"
[ "$status" -eq 0 ] && echo "capture_test: all passed" || echo "capture_test: FAILED"
exit "$status"
