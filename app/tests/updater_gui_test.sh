#!/usr/bin/env bash
# The program's updater under Wine against a real update server on 127.0.0.1 (the updater
# tests' update_server.py, reached through WORDMERE_UPDATE_BASE), driven from outside by
# wordmere_driver in one program start: the start-up check asks about a newer version and
# its request carries the updater's headers; the menu's check stays quiet about an older
# one; a missing module list is reported; the module download dialog tells installed, up to
# date and updatable modules apart; a stalled download is cancelled without a trace; two
# modules are downloaded and looked up in without a restart; a cut-short installer is not
# run; a complete one is handed over with "/VERYSILENT". The window answers WM_PING_INSTANCE
# throughout.
# Usage: updater_gui_test.sh BIN_DIR ARTIFACT_DIR SAMPLE_MODULES REQUIRED FAKE_INSTALLER
set -u
bin="$(cd "$1" && pwd)"
mkdir -p "$2"
art="$(cd "$2" && pwd)"
samples="${3:-}"
installer="$5"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$here/scripts/wine-test.sh"
wine_test_begin "$art" new "$@"

installed=(english-french.lxd english-portuguese.lxd)
served=(english-spanish.lxd english-italian.lxd)
require_sample_modules "$samples" "${4:-0}" "the updater checks are" "${installed[@]}" "${served[@]}"
[ -f "$installer" ] || { echo "FAIL the stand-in installer $installer is missing"; exit 1; }

T="${T:-300}"
status=0
fail() { echo "FAIL $*"; status=1; }

run="$art/run"
srv="$art/server"
rm -rf "$run" "$srv" "$art/dictionaries-before"
mkdir -p "$run/dictionaries" "$srv/root/base/windows" "$srv/root/files"
cp "$bin/wordmere.exe" "$bin/tchk.dll" "$bin/wordmere_driver.exe" "$run/"
for m in "${installed[@]}"; do cp "$samples/$m" "$run/dictionaries/"; done
for m in "${installed[@]}" "${served[@]}"; do cp "$samples/$m" "$srv/root/files/"; done
cp "$installer" "$srv/root/files/setup.exe"
cp -r "$run/dictionaries" "$art/dictionaries-before"

python3 "$here/app/updatecore/tests/http/update_server.py" "$srv/root" "$srv/port" &
server=$!
trap 'kill $server 2>/dev/null; wine_test_end' EXIT
for _ in $(seq 300); do [ -s "$srv/port" ] && break; sleep 0.1; done
[ -s "$srv/port" ] || { echo "FAIL the update server did not start"; exit 1; }
site="http://127.0.0.1:$(cat "$srv/port")"
export WORDMERE_UPDATE_BASE="$site/base"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy

version_file() { # version_file VERSION INSTALLER_ADDRESS
  cat >"$srv/root/base/windows/version.xml" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>InstallerURL</key> <string> $2 </string>
  <key>VersionString</key> <string>$1</string>
</dict></plist>
EOF
}
size_of() { stat -c %s "$srv/root/files/$1"; }
module_entry() { # module_entry ADDRESS LANGUAGE1 LANGUAGE2 UNCOMPRESSED_SIZE DOWNLOAD_SIZE
  printf '<dict><key>URL</key><string>%s</string><key>type</key><string>dictionary</string>\n' "$1"
  printf '  <key>language1</key><string>%s</string><key>language2</key><string>%s</string>\n' "$2" "$3"
  printf '  <key>product</key><integer>10</integer><key>uncompressedsize</key><integer>%s</integer>\n' "$4"
  printf '  <key>downloadsize</key><integer>%s</integer></dict>\n' "$5"
}
module_list() { # module_list SPANISH_ADDRESS: the served list, the Spanish module's address given
  {
    echo '<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><array>'
    # Installed with exactly this size: up to date. Installed, one byte smaller: updatable.
    module_entry "$site/files/english-french.lxd" English French "$(size_of english-french.lxd)" "$(size_of english-french.lxd)"
    module_entry "$site/files/english-portuguese.lxd" English Portuguese "$(( $(size_of english-portuguese.lxd) + 1 ))" \
      "$(size_of english-portuguese.lxd)"
    module_entry "$1" Spanish English "$(size_of english-spanish.lxd)" "$(size_of english-spanish.lxd)"
    module_entry "$site/files/english-italian.lxd" English Italian "$(size_of english-italian.lxd)" "$(size_of english-italian.lxd)"
    echo '</array></plist>'
  } >"$srv/root/base/windows/modules.xml"
}
same_modules() { # same_modules WHAT: the dictionaries folder holds exactly what it held before
  # A download stalled inside the system's request ends by the program's time-out (30 s) where
  # closing its connection does not end the wait; its partial file goes then.
  local limit=$(( SECONDS + $(scaled 20) + 40 ))
  until ! ls -A "$run/dictionaries" | grep -qi '\.part$' || [ "$SECONDS" -ge "$limit" ]; do sleep 2; done
  if diff -r "$art/dictionaries-before" "$run/dictionaries" >/dev/null && [ -z "$(ls -A "$run" | grep -i '\.part$')" ]; then
    echo "ok   $1: the installed modules are unchanged and no partial file is left"
  else
    fail "$1: the modules folder changed: $(ls -A "$run/dictionaries" | tr '\n' ' ') / $(ls -A "$run" | tr '\n' ' ')"
  fi
}

exe="Z:${run//\//\\}\\wordmere.exe"
source "$here/app/tests/driver-batch.sh"

# A check more than six days ago: the start-up check is due.
driver settings 20000101

echo "== the start-up check finds 1.0.10 (running 1.0.9)"
version_file 1.0.10 "$site/files/setup.exe"
module_list "$site/stall/files/english-spanish.lxd"
rm -f "$srv/requests.log"
driver updatestart "$exe" 1.0.10
driver lastupdate
flush_driver
if awk 'BEGIN { RS = "" } /^GET \/base\/windows\/version.xml HTTP/ && /\nUser-Agent: Lexifold Updater(\n|$)/ &&
        /\nAccept: text\/\*(\n|$)/ { found = 1 } END { exit !found }' "$srv/requests.log" 2>/dev/null; then
  echo "ok   the version file was asked for with \"User-Agent: Lexifold Updater\" and \"Accept: text/*\""
else
  fail "no request for /base/windows/version.xml with the updater's headers: $(head -c 600 "$srv/requests.log" 2>/dev/null)"
fi

echo "== the menu's check against an older beta: no question"
version_file 1.0.9b3 "$site/files/setup.exe"
driver updatecheck "Your software is already up to date." 1

echo "== a module list the server does not have"
mv "$srv/root/base/windows/modules.xml" "$srv/modules.xml"
driver modulelistfails "The list of modules could not be downloaded."
flush_driver
mv "$srv/modules.xml" "$srv/root/base/windows/modules.xml"

echo "== the module download dialog, and a stalled download cancelled"
driver moduletable "Up to date:0|Update available:1|Update available:0|Update available:0"
import -window root "$art/module-dialog.png" || fail "screenshot"
driver downloadcancel 0011 english-spanish.lxd
driver pair 1 3 0
flush_driver
same_modules "after the cancelled download"

echo "== two modules downloaded and used without a restart"
module_list "$site/files/english-spanish.lxd"
driver moduletable "Up to date:0|Update available:1|Update available:0|Update available:0"
driver downloadall 0011
driver pair 1 3 1
driver pair 1 5 1
driver pair 1 2 1
oracle() { python3 "$here/app/tests/freedict_translations.py" /usr/share/dictd "$1" "$2"; }
driver shows 1 3 house "$(oracle eng-spa house)"
driver shows 1 5 house "$(oracle eng-ita house)"
driver shows 1 2 house "$(oracle eng-fra house)"
flush_driver
for m in english-spanish.lxd english-italian.lxd; do
  cmp -s "$srv/root/files/$m" "$run/dictionaries/$m" && echo "ok   $m is in the modules folder, whole" ||
    fail "$m is not in the modules folder as served"
done
for m in "${installed[@]}"; do
  cmp -s "$art/dictionaries-before/$m" "$run/dictionaries/$m" && echo "ok   $m stays as it was" || fail "$m changed"
done
[ -z "$(ls -A "$run" "$run/dictionaries" | grep -i '\.part$')" ] && echo "ok   no partial file is left" ||
  fail "partial files are left"

echo "== a cut-short installer is not run; a complete one is, with /VERYSILENT"
version_file 1.0.10 "$site/cut/files/setup.exe"
driver badinstaller 1.0.10 setup.exe
flush_driver
[ ! -e "$run/setup.exe" ] && [ ! -e "$run/setup.exe.marker" ] && echo "ok   the cut-short installer is neither kept nor run" ||
  fail "the cut-short installer was kept or run: $(ls "$run" | tr '\n' ' ')"
version_file 1.0.10 "$site/files/setup.exe"
T=1500 driver installer 1.0.10
flush_driver
marker="$run/setup.exe.marker"
limit=$(( SECONDS + $(scaled 200) ))
until [ -s "$marker" ] || [ "$SECONDS" -ge "$limit" ]; do sleep 1; done
line="$(iconv -f UTF-16LE -t UTF-8 "$marker" 2>/dev/null)"
case "$line" in
  *" /VERYSILENT"*) echo "ok   the installer ran with /VERYSILENT: $line" ;;
  *) fail "the installer did not run with /VERYSILENT: '${line}'" ;;
esac
cmp -s "$srv/root/files/setup.exe" "$run/setup.exe" && echo "ok   the installer was downloaded whole" ||
  fail "the downloaded installer differs from the served one"

[ "$status" -eq 0 ] && echo "updater_gui_test: all passed" || echo "updater_gui_test: FAILED"
exit "$status"
