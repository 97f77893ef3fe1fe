#!/usr/bin/env bash
# The dialogs of the program under Wine, driven from outside by wordmere_driver: adding an
# entry (found in both directions, the additions file made), conjugating in French,
# Italian, Spanish and Portuguese, numbers in words, the web look-up's address (handed to
# a stand-in browser that writes it down), and the preferences (read back with
# "wine reg query"), with screenshots of every dialog in English and in French.
# Usage: dialogs_test.sh BIN_DIR ARTIFACT_DIR SAMPLE_MODULES [REQUIRED]. With REQUIRED 1 a
# missing module fails the test instead of skipping it. Uses a Wine prefix of its own in
# ARTIFACT_DIR, so ending its processes at the end touches nothing else, and a display of its own
# (inside a shared Wine session, the session's: see scripts/wine-test.sh).
set -u
bin="$(cd "$1" && pwd)"
mkdir -p "$2"
art="$(cd "$2" && pwd)"
samples="${3:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$here/scripts/wine-test.sh"
wine_test_begin "$art" new "$@"

modules=(english-french.lxd english-spanish.lxd english-italian.lxd english-portuguese.lxd fr.lxc it.lxc es.lxc pt.lxc)
for m in "${modules[@]}"; do
  if [ -z "$samples" ] || [ ! -f "$samples/$m" ]; then
    if [ "${4:-0}" = 1 ]; then
      echo "FAIL sample module $m is missing from \"$samples\": the native build makes it (build/native/dictionaries); configure with -DWORDMERE_SAMPLE_MODULES=<that folder>, or -DWORDMERE_WITHOUT_SAMPLE_MODULES=ON to skip on purpose"
      exit 1
    fi
    echo "== built without sample modules on purpose: the dialog checks are skipped"
    exit 0
  fi
done

T="${T:-300}"
status=0
fail() { echo "FAIL $*"; status=1; }

run="$art/run"
rm -rf "$run"
mkdir -p "$run/dictionaries"
cp "$bin/wordmere.exe" "$bin/tchk.dll" "$bin/wordmere_driver.exe" "$run/"
for m in "${modules[@]}"; do cp "$samples/$m" "$run/dictionaries/"; done
win() { local p="$1"; echo "Z:${p//\//\\}"; }
exe="$(win "$run")\\wordmere.exe"
source "$here/app/tests/driver-batch.sh"
shot() { import -window root "$art/$1.png" || fail "screenshot $1"; }
reg_value() { # reg_value NAME -> the data column of "wine reg query"
  w wine reg query 'HKCU\Software\Wordmere\Wordmere\Settings' /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v n="$1" 'index($0, n) { sub(/^.*REG_[A-Z_]+[ \t]+/, ""); print; exit }'
}
expect_reg() { # expect_reg NAME VALUE
  local got; got="$(reg_value "$1")"
  if [ "$got" = "$2" ]; then echo "ok   reg $1 = $2"; else fail "reg $1: '$got', expected '$2'"; fi
}

w wine reg delete 'HKCU\Software\Wordmere' /f >/dev/null 2>&1 || true
# The stand-in browser: web addresses open the driver, which writes down what it was given.
browsed="$run/browsed.txt"
for scheme in http https; do
  w wine reg add "HKCR\\$scheme\\shell\\open\\command" /ve /t REG_SZ \
    /d "\"$(win "$run")\\wordmere_driver.exe\" browser \"$(win "$browsed")\" \"%1\"" /f >/dev/null 2>&1 ||
    fail "registering the stand-in browser"
done

echo "== start (English)"
driver start "$exe" en -
driver size 760 560

echo "== add entries"
driver addentry "$(win "$run/dictionaries")" zorblewick vabriquette
flush_driver
[ -f "$run/dictionaries/english-french-additions.lxd" ] || fail "no english-french-additions.lxd in the dictionaries folder"
driver show 11500 1202
shot add-entry-en
driver dismiss 1202

echo "== conjugation"
driver conjugate French parl parler parlons
shot conjugation-en
driver conjugate Italian parl parlare parliamo
driver conjugate Spanish habl hablar hablamos
driver conjugate Portuguese fal falar falamos
driver conjugateclose

echo "== numbers"
driver numbers "cent vingt-trois" "mille deux cent trente-quatre"
shot numbers-en
driver dismiss 1101

echo "== web look-up"
site='https://search.wordmere.example/search?as_q=&num=10&hl=en&ie='
driver web "$(win "$browsed")" "l'été 100%" "" French \
  "${site}ISO-8859-1&btnG=Search&as_epq=l'%E9t%E9+100%25&as_oq=&as_eq=&lr=lang_fr"
driver web "$(win "$browsed")" "sœur & frère" "a=b" French \
  "${site}UTF-8&btnG=Search&as_epq=s%C5%93ur+%26+fr%C3%A8re&as_oq=a%3Db&as_eq=&lr=lang_fr"
driver show 11550 1501
shot web-en
driver dismiss 1501

echo "== preferences"
driver show 11560 1602
shot options-en
driver dismiss 1602
driver options French F4 0 Conjugaison
expect_reg "Interface Language" "French"
expect_reg "Hotkey" "F4"
expect_reg "Hotkey Disabled" "0x1"
for d in "11500 1202 add-entry" "11490 1401 conjugation" "11530 1101 numbers" "11550 1501 web" "11560 1602 options"; do
  set -- $d
  driver show "$1" "$2"
  shot "$3-fr"
  driver dismiss "$2"
done
driver options Anglais "Alt + clic gauche" 1 Conjugation
expect_reg "Interface Language" "English"
expect_reg "Hotkey" "Alt + left-click"
expect_reg "Hotkey Disabled" "0x0"
driver quit
flush_driver

[ "$status" -eq 0 ] && echo "dialogs_test: all passed" || echo "dialogs_test: FAILED"
exit "$status"
