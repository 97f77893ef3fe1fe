# Sourced by the test scripts that drive the program with wordmere_driver (after
# scripts/wine-test.sh, with `run` naming the folder the driver was copied into).
#
# The driver's phases are gathered and run in one driver process each time the script does
# something else (a screenshot, a Wine command, or flush_driver before a file is looked at or
# changed): under an emulated 32-bit side every program start costs a minute or more. Each phase
# prints "== driver PHASE" and its checks; its time limit (T, default 120 s) adds to the batch's.
batch="$run/driver-batch.txt"
batch_t=0
: >"$batch"
driver() {
  printf '%s' "$1" >>"$batch"
  shift
  local a
  for a in "$@"; do printf '\t%s' "$a" >>"$batch"; done
  printf '\n' >>"$batch"
  batch_t=$(( batch_t + ${T:-120} ))
}
flush_driver() {
  [ -s "$batch" ] || return 0
  local phases; phases="$(cut -f1 "$batch" | tr '\n' ' ')"
  T="$batch_t" wine_run wine "$run/wordmere_driver.exe" batch "Z:${batch//\//\\}" || fail "driver phases: $phases"
  : >"$batch"
  batch_t=0
}
w() { flush_driver; wine_run "$@"; }
import() { flush_driver; sleep 1; command import "$@"; }
