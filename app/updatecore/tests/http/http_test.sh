#!/usr/bin/env bash
# Runs the updater's protocol tests (natively, or under Wine for a .exe) against a real HTTP server on 127.0.0.1: the server
# (update_server.py) serves a folder of its own on a free port; the tests find it through
# WORDMERE_TEST_SERVER (its address) and WORDMERE_TEST_SERVER_ROOT (the served folder).
# Usage: http_test.sh TEST_EXE WORK_DIR [gtest arguments...]
set -u
exe="$1"; shift
work="$1"; shift
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
rm -rf "$work"
mkdir -p "$work/root"
work="$(cd "$work" && pwd)"
python3 "$here/update_server.py" "$work/root" "$work/port" &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null' EXIT
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "FAIL: the test server did not start"; exit 1; }
export WORDMERE_TEST_SERVER="http://127.0.0.1:$(cat "$work/port")"
export WORDMERE_TEST_SERVER_ROOT="$work/root"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy
case "$exe" in
  *.exe) "$here/../../../../scripts/wine-env.sh" wine "$exe" "$@" ;;
  *) "$exe" "$@" ;;
esac
