#!/usr/bin/env bash
# Compares the Spanish conjugation module with the pinned spanish-verbs package.
# usage: run_oracle.sh PRINT_TOOL MODULE NODE_DIR [compare.mjs options]
# The package is installed into NODE_DIR once, and again only when the pins change.
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
tool="$1"
module="$2"
dir="$3"
shift 3
mkdir -p "$dir"
stamp="$dir/.installed"
pins="$(cat "$src/package.json" "$src/package-lock.json")"
if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$pins" ] || [ ! -f "$dir/node_modules/spanish-verbs/package.json" ]; then
  rm -f "$stamp"
  cp "$src/package.json" "$src/package-lock.json" "$dir/"
  (cd "$dir" && npm ci --no-audit --no-fund)
  printf '%s' "$pins" >"$stamp"
fi
# Node resolves the package from the script's own folder.
cp "$src/compare.mjs" "$src/known_differences.json" "$dir/"
exec node "$dir/compare.mjs" "$tool" "$module" "$@"
