#!/usr/bin/env bash
# Runs a command with one Wine session kept up around it: a persistent server and Wine's own
# system processes (services, devices, the desktop) started once, so that each Windows program the
# command starts pays only for itself. Under an emulated 32-bit side every Wine process start costs
# tens of seconds, and without this each test executable would start the system processes again.
# Use inside the display the programs are to use (e.g. within xvfb-run).
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
wine_env="$here/scripts/wine-env.sh"
"$wine_env" wineserver -p
"$wine_env" wine cmd /c exit >/dev/null 2>&1 || true
status=0
"$@" || status=$?
"$wine_env" wineserver -k 2>/dev/null || true
exit "$status"
