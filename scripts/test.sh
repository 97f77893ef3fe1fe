#!/usr/bin/env bash
# Set-up, both builds and every test: native, native under ASan/UBSan, short fuzz runs,
# and the i686 Windows build with its tests under Wine.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
jobs="$(nproc)"
fuzz_seconds="${WORDMERE_FUZZ_SECONDS:-10}"

"$here/scripts/setup.sh"

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
build fuzz -DWORDMERE_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
for f in $(find build/fuzz -type f -name '*_fuzzer' -perm -u+x | sort); do
  corpus="build/fuzz/corpus/$(basename "$f")"
  mkdir -p "$corpus"
  echo "-- $(basename "$f")"
  "$f" -max_total_time="$fuzz_seconds" -print_final_stats=0 -artifact_prefix="build/fuzz/" "$corpus" >"build/fuzz/$(basename "$f").log" 2>&1 \
    || { tail -n 40 "build/fuzz/$(basename "$f").log"; status=1; }
done

echo "== i686 Windows build and tests under Wine"
build win32 -DCMAKE_TOOLCHAIN_FILE="$here/cmake/i686-mingw.cmake" "${modules[@]}"
"$here/scripts/wine-env.sh" xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir build/win32 --output-on-failure -j 4 || status=1
"$here/scripts/wine-env.sh" wineserver -k 2>/dev/null || true

if [ "$status" -ne 0 ]; then echo "test.sh: FAILED"; else echo "test.sh: all passed"; fi
exit "$status"
