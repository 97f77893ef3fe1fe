#!/usr/bin/env bash
# Runs a command with the project's Wine prefix (32-bit, silent, no Mono/Gecko downloads).
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WORDMERE_WINEPREFIX:-$here/.deps/wineprefix}"
export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
fi
exec "$@"
