# Sourced by the test scripts that run Windows programs under Wine. Gives each script its Wine
# prefix and display, a scaled time limit for every Wine command, and the end of the programs it
# started.
#
#   wine_test_begin ARTIFACT_DIR PREFIX_MODE "$@"   (PREFIX_MODE: "new" boots a prefix of its own in
#       ARTIFACT_DIR, "copy" copies the checkout's prefix there; both run in a display of their own
#       through xvfb-run, which re-runs the calling script.) Inside a Wine session
#       (scripts/wine-session.sh, WORDMERE_WINE_SESSION set) the script instead uses the session's
#       prefix and display: its system and desktop processes are already up, which under an emulated
#       32-bit side saves minutes per script. The session runs such scripts one at a time.
#   w COMMAND...        runs COMMAND with the prefix, ended after T seconds (default 120) times
#                       WORDMERE_TEST_TIME_SCALE (wine_run: the same, for scripts that redefine w).
#   scaled SECONDS      SECONDS times WORDMERE_TEST_TIME_SCALE, for the script's own waits.
#   require_sample_modules FOLDER REQUIRED WHAT MODULE...
#                       every MODULE must be in FOLDER: when one is missing the script FAILS with
#                       REQUIRED 1 and ends with a note that WHAT is skipped on purpose otherwise.
#   wine_test_end       ends every Wine program this script started (and what those started): the
#                       whole prefix's server when the prefix is the script's own, only the script's
#                       processes inside a session. Installed as the EXIT trap by wine_test_begin.
wine_test_scale="${WORDMERE_TEST_TIME_SCALE:-1}"
wine_test_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

scaled() { echo $(( $1 * wine_test_scale )); }

# wait_for_line FILE PATTERN PID SECONDS: waits until FILE has a line matching PATTERN, while the
# program PID (started in the background) still runs, for at most SECONDS (scaled). A Windows
# program's start alone can take a minute or two under an emulated 32-bit side.
wait_for_line() {
  local limit=$(( SECONDS + $(scaled "$4") ))
  until grep -qs "$2" "$1"; do
    if ! kill -0 "$3" 2>/dev/null || [ "$SECONDS" -ge "$limit" ]; then return 1; fi
    sleep 0.2
  done
}

require_sample_modules() {
  local folder="$1" required="$2" what="$3" m
  shift 3
  for m in "$@"; do
    [ -n "$folder" ] && [ -f "$folder/$m" ] && continue
    if [ "$required" = 1 ]; then
      echo "FAIL sample module $m is missing from \"$folder\": the native build makes it (build/native/dictionaries); configure with -DWORDMERE_SAMPLE_MODULES=<that folder>, or -DWORDMERE_WITHOUT_SAMPLE_MODULES=ON to skip on purpose"
      exit 1
    fi
    echo "== built without sample modules on purpose: $what skipped"
    exit 0
  done
}

wine_run() { timeout "$(scaled "${T:-120}")" "$wine_test_root/scripts/wine-env.sh" "$@"; }
w() { wine_run "$@"; }

wine_test_begin() {
  local art="$1" mode="$2"
  shift 2
  if [ -n "${WORDMERE_WINE_SESSION:-}" ]; then
    export WORDMERE_WINEPREFIX="$WORDMERE_WINE_SESSION"
    # Every Windows program inherits this mark from the one that started it, so the script's own
    # processes can be told from the session's.
    export WORDMERE_WINE_TEST_RUN="$$.$RANDOM.$(date +%s%N)"
  else
    local shared_prefix="${WORDMERE_WINEPREFIX:-$wine_test_root/.deps/wineprefix}"
    export WORDMERE_WINEPREFIX="$art/wineprefix"
    if [ "$mode" = copy ] && [ ! -f "$WORDMERE_WINEPREFIX/system.reg" ] && [ -f "$shared_prefix/system.reg" ]; then
      rm -rf "$WORDMERE_WINEPREFIX"
      cp -a "$shared_prefix" "$WORDMERE_WINEPREFIX"
    fi
    if [ -z "${WORDMERE_WINE_TEST_XVFB:-}" ]; then
      # A display of its own: no other test's windows take the focus or cover the targets.
      export WORDMERE_WINE_TEST_XVFB=1
      exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
    fi
  fi
  trap wine_test_end EXIT
}

# The pids of the Wine processes that carry this script's mark.
wine_test_own_pids() {
  local p
  for p in /proc/[0-9]*; do
    if grep -qzxF "WORDMERE_WINE_TEST_RUN=$WORDMERE_WINE_TEST_RUN" "$p/environ" 2>/dev/null; then
      echo "${p#/proc/}"
    fi
  done
}

wine_test_end() {
  if [ -z "${WORDMERE_WINE_TEST_RUN:-}" ]; then
    w wineserver -k >/dev/null 2>&1 || true
    return
  fi
  local pid pids
  pids="$(wine_test_own_pids | grep -vx "$$")"
  for pid in $pids; do kill "$pid" 2>/dev/null; done
  sleep 1
  for pid in $pids; do kill -KILL "$pid" 2>/dev/null; done
  return 0
}
