#!/usr/bin/env bash
# Runs a command with one Wine session kept up around it: a persistent server, Wine's own system
# processes (services, devices) and its desktop process started once, so that each Windows program
# the command starts pays only for itself. Under an emulated 32-bit side every Wine process start
# costs tens of seconds; without this each test executable would start the system processes again,
# and each would start the desktop process again too (Wine closes it a second after the last
# program on the desktop ends), which there costs a minute or more before its first window.
# A small holder program (wine-desktop.c) keeps one hidden window, and so the desktop, for the
# whole session; the command starts only once that window exists.
# With --share the command sees WORDMERE_WINE_SESSION (the prefix the session serves): the test
# scripts then use this prefix and display instead of their own (scripts/wine-test.sh) and end only
# their own programs; CTest runs the tests that show windows one at a time (RESOURCE_LOCK).
# Usage: wine-session.sh [--share] COMMAND...
# Use inside the display the programs are to use (e.g. within xvfb-run). The wait for the desktop
# is scaled by WORDMERE_TEST_TIME_SCALE.
set -uo pipefail
share=0
if [ "${1:-}" = --share ]; then share=1; shift; fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
wine_env="$here/scripts/wine-env.sh"
scale="${WORDMERE_TEST_TIME_SCALE:-1}"
work="$(mktemp -d "${TMPDIR:-/tmp}/wordmere-wine-session.XXXXXX")"
holder=""
end_session() {
  "$wine_env" wineserver -k 2>/dev/null || true
  if [ -n "$holder" ] && kill -0 "$holder" 2>/dev/null; then kill "$holder" 2>/dev/null; fi
  rm -rf "$work"
}
trap end_session EXIT

i686-w64-mingw32-gcc -O1 -o "$work/wine-desktop.exe" "$here/scripts/wine-desktop.c" ||
  { echo "wine-session: cannot build the desktop holder"; exit 1; }
"$wine_env" wineserver -p
"$wine_env" wine "$work/wine-desktop.exe" 120 >"$work/desktop.log" 2>&1 &
holder=$!
started=$SECONDS
limit=$(( 900 * scale ))
until grep -q '^ready' "$work/desktop.log" 2>/dev/null; do
  if ! kill -0 "$holder" 2>/dev/null || [ $(( SECONDS - started )) -gt "$limit" ]; then
    echo "wine-session: FAILED: the Wine desktop did not come up within $(( SECONDS - started )) s:"
    cat "$work/desktop.log"
    exit 1
  fi
  sleep 2
done
echo "wine-session: desktop up after $(( SECONDS - started )) s ($(grep '^ready' "$work/desktop.log"))"
if [ "$share" -eq 1 ]; then export WORDMERE_WINE_SESSION="${WORDMERE_WINEPREFIX:-$here/.deps/wineprefix}"; fi
status=0
"$@" || status=$?
exit "$status"
