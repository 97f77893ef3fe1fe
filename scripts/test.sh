#!/usr/bin/env bash
# Set-up, both builds and every test: native, native under ASan/UBSan, short fuzz runs,
# and the i686 Windows build with its tests under Wine.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
jobs="$(nproc)"
fuzz_seconds="${WORDMERE_FUZZ_SECONDS:-10}"

"$here/scripts/setup.sh"

# Does the kernel run 32-bit programs itself, or does qemu's emulator run Wine's 32-bit side?
emulated=0
time_scale=1
if [ "$(head -n 1 /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null)" = enabled ]; then
  emulated=1
  time_scale=4
fi

build() { # build DIR [cmake args...]
  local dir="$1"; shift
  cmake -S "$here" -B "$here/build/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$here/build/$dir" -j "$jobs"
}

status=0
echo "== native build and tests"
build native
ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# The sample modules are made once, by the native build; the other builds read them from there.
modules=(-DWORDMERE_SAMPLE_MODULES="$here/build/native/dictionaries"
         -DWORDMERE_CONJUGATION_MODULES="$here/build/native/dictionaries")
build sanitize -DWORDMERE_SANITIZE=ON -DWORDMERE_BENCH=OFF "${modules[@]}"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs" || status=1

echo "== short fuzz runs (${fuzz_seconds}s each)"
build fuzz -DWORDMERE_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${modules[@]}"
for f in $(find build/fuzz -type f -name '*_fuzzer' -perm -u+x | sort); do
  corpus="build/fuzz/corpus/$(basename "$f")"
  mkdir -p "$corpus"
  # Seeds kept beside a fuzzer's source (<folder>/fuzz/seeds/<fuzzer>) are read as well.
  seeds="$here/${f#build/fuzz/}"; seeds="$(dirname "$seeds")/fuzz/seeds/$(basename "$f")"
  [ -d "$seeds" ] || seeds=
  echo "-- $(basename "$f")"
  "$f" -max_total_time="$fuzz_seconds" -print_final_stats=0 -artifact_prefix="build/fuzz/" "$corpus" ${seeds:+"$seeds"} \
    >"build/fuzz/$(basename "$f").log" 2>&1 \
    || { tail -n 40 "build/fuzz/$(basename "$f").log"; status=1; }
done

echo "== i686 Windows build and tests under Wine"
build win32 -DCMAKE_TOOLCHAIN_FILE="$here/cmake/i686-mingw.cmake" "${modules[@]}" \
  -DWORDMERE_TEST_TIME_SCALE="$time_scale"
export WORDMERE_TEST_TIME_SCALE="$time_scale"   # for the waits inside the test scripts and drivers
if [ "$emulated" -eq 1 ] && [ "${WORDMERE_WINE_TESTS:-}" != emulated ]; then
  # Wine's 32-bit side under qemu takes about a minute of processor time for each program start and
  # some of its processes hang there, so the run could neither finish nor say anything true.
  echo "test.sh: NOT RUN: the Windows tests. This kernel runs no 32-bit programs (scripts/ia32.sh), so"
  echo "test.sh: Wine's 32-bit side could only run under qemu's emulator, where it is too slow and hangs."
  echo "test.sh: The i686 build above did build every Windows program and test. Not run here:"
  ctest --test-dir build/win32 -N | sed -n 's/^ *Test *#[0-9]*: /test.sh:   /p'
  echo "test.sh: to run them under the emulator anyway: WORDMERE_WINE_TESTS=emulated ./scripts/test.sh"
else
  # Under the emulator every Wine process start costs about a minute of processor time, and
  # starting a prefix's system and desktop processes several minutes: one Wine session is shared by
  # all the tests (the test scripts use its prefix and display instead of their own), the tests that
  # show windows run one at a time (RESOURCE_LOCK), the others beside them (WORDMERE_WINE_JOBS, 3),
  # and the time limits are scaled (WORDMERE_TEST_TIME_SCALE).
  wine_jobs=4
  session=()
  if [ "$emulated" -eq 1 ]; then wine_jobs="${WORDMERE_WINE_JOBS:-3}"; session=(--share); fi
  "$here/scripts/wine-env.sh" xvfb-run -a -s "-screen 0 1024x768x24" \
    "$here/scripts/wine-session.sh" "${session[@]}" ctest --test-dir build/win32 --output-on-failure -j "$wine_jobs" || status=1
fi

if [ "$status" -ne 0 ]; then echo "test.sh: FAILED"
elif [ "$emulated" -eq 1 ] && [ "${WORDMERE_WINE_TESTS:-}" != emulated ]; then
  echo "test.sh: all passed that ran; the Windows tests were NOT RUN (see above)"
else echo "test.sh: all passed"; fi
exit "$status"
