#!/usr/bin/env bash
# Sets up, builds wordmere.exe and starts it under Wine on the sample modules: the
# "dictionaries" folder beside the program is filled with the modules the native module
# builders make from Debian's FreeDict and verbiste data.
# Usage: scripts/run.sh [--no-modules]   (Xvfb is used only when there is no display.)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
modules=1
[ "${1:-}" = "--no-modules" ] && modules=0

"$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/i686-mingw.cmake" >/dev/null
cmake --build "$here/build/win32" --target wordmere tchk

run="$here/build/run"
mkdir -p "$run/dictionaries"
rm -f "$run/dictionaries/"*.lxd "$run/dictionaries/"*.lxc
cp "$here/build/win32/bin/wordmere.exe" "$here/build/win32/bin/tchk.dll" "$run/"
if [ "$modules" -eq 1 ]; then
  cmake -S "$here" -B "$here/build/native" -G Ninja >/dev/null
  for t in sample_modules conjugation_modules; do
    cmake --build "$here/build/native" --target "$t" || echo "run.sh: could not build $t; starting without them"
  done
  cp "$here/build/native/dictionaries/"*.lx[dc] "$run/dictionaries/" 2>/dev/null || true
fi

cd "$run"
echo "run.sh: starting $run/wordmere.exe"
if [ -n "${DISPLAY:-}" ]; then
  exec "$here/scripts/wine-env.sh" wine wordmere.exe
else
  exec "$here/scripts/wine-env.sh" xvfb-run -a -s "-screen 0 1024x768x24" wine wordmere.exe
fi
