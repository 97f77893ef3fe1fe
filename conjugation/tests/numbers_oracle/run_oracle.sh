#!/usr/bin/env bash
# Compares the number translator with the pinned number-to-words libraries.
# usage: run_oracle.sh PRINT_TOOL NODE_DIR [compare.mjs options]
# The libraries are installed into NODE_DIR once, and again only when the pins change.
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
tool="$1"
dir="$2"
shift 2
mkdir -p "$dir"
stamp="$dir/.installed"
pins="$(cat "$src/package.json" "$src/package-lock.json")"
if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$pins" ] \
  || [ ! -f "$dir/node_modules/n2words/package.json" ] \
  || [ ! -f "$dir/node_modules/written-number/package.json" ]; then
  rm -f "$stamp"
  cp "$src/package.json" "$src/package-lock.json" "$dir/"
  (cd "$dir" && npm install --no-audit --no-fund)
  printf '%s' "$pins" >"$stamp"
fi
# Node resolves the libraries from the script's own folder.
cp "$src/compare.mjs" "$src/known_differences.json" "$dir/"
exec node "$dir/compare.mjs" "$tool" "$@"
