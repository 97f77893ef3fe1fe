#!/usr/bin/env bash
# Sets up, builds wordmere.exe and starts it under Wine on the sample modules: the
# "dictionaries" folder beside the program is filled with the modules the native module
# builders make from Debian's FreeDict and verbiste data.
# Usage: scripts/run.sh [--no-modules]   (Xvfb is used only when there is no display.)
# The build folders default to build/win32 and build/native, the program's folder to build/run
# (WORDMERE_WIN32_BUILD, WORDMERE_NATIVE_BUILD, WORDMERE_RUN_DIR change them).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
modules=1
[ "${1:-}" = "--no-modules" ] && modules=0

win32="${WORDMERE_WIN32_BUILD:-$here/build/win32}"
native="${WORDMERE_NATIVE_BUILD:-$here/build/native}"
run="${WORDMERE_RUN_DIR:-$here/build/run}"

"$here/scripts/setup.sh"
cmake -S "$here" -B "$win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/i686-mingw.cmake" >/dev/null
cmake --build "$win32" --target wordmere tchk

mkdir -p "$run/dictionaries"
rm -f "$run/dictionaries/"*.lxd "$run/dictionaries/"*.lxc
cp "$win32/bin/wordmere.exe" "$win32/bin/tchk.dll" "$run/"
cp "$win32/bin/wordmerehelp.chm" "$run/" 2>/dev/null || echo "run.sh: no help manual (chmcmd missing?)"
if [ "$modules" -eq 1 ]; then
  cmake -S "$here" -B "$native" -G Ninja >/dev/null
  for t in sample_modules conjugation_modules; do
    cmake --build "$native" --target "$t" || echo "run.sh: could not build $t; starting without them"
  done
  cp "$native/dictionaries/"*.lx[dc] "$run/dictionaries/" 2>/dev/null || true
fi

cd "$run"
echo "run.sh: starting $run/wordmere.exe"
if [ -n "${DISPLAY:-}" ]; then
  exec "$here/scripts/wine-env.sh" wine wordmere.exe
else
  exec "$here/scripts/wine-env.sh" xvfb-run -a -s "-screen 0 1024x768x24" wine wordmere.exe
fi
