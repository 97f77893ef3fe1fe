#!/usr/bin/env bash
# The program under Wine, checked from outside: start-up messages, application messages,
# settings in the registry (read back with "wine reg query"), a second copy, the interface
# language across a restart, and screenshots kept in the artifact folder.
# With a folder of sample modules, the look-up end to end: searches typed into the search box
# and read back through the program's Copy command (checked against the FreeDict sources),
# the advanced search, scrolling, selecting, dropping text, the help manual, and the time from
# Go to the painted list.
# Usage: gui_test.sh BIN_DIR ARTIFACT_DIR [SAMPLE_MODULES [REQUIRED]]. With REQUIRED 1 (a build
# configured with sample modules) a missing module fails the test instead of skipping. Uses a Wine prefix of its own in
# ARTIFACT_DIR, so ending its processes at the end touches nothing else, and a display of its own, so
# windows of tests running alongside cannot take the focus away and the screenshots show this program
# alone (inside a shared Wine session, the session's prefix and display: see scripts/wine-test.sh).
set -u
bin="$(cd "$1" && pwd)"
mkdir -p "$2"
art="$(cd "$2" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$here/scripts/wine-test.sh"
wine_test_begin "$art" new "$@"
status=0
fail() { echo "FAIL $*"; status=1; }

run="$art/run"
rm -rf "$run"
mkdir -p "$run/dictionaries"
cp "$bin/wordmere.exe" "$bin/tchk.dll" "$bin/wordmere_driver.exe" "$run/"
# Files the module scan refuses (the stand-in data manager knows no module yet): plain
# text, a module of an older format, a conjugation file; and one whose extension only
# begins like a module's, which the scan must not look at.
printf 'not a dictionary\n' >"$run/dictionaries/bad.lxd"
printf '\xC0\xC0\xFF\xEE\x00\x00\x00\x01\x52\x00\x00\x00' >"$run/dictionaries/Old.lxd"
printf 'x' >"$run/dictionaries/verbs.lxc"
printf 'x' >"$run/dictionaries/notes.lxdata"
exe="Z:${run//\//\\}\\wordmere.exe"
source "$here/app/tests/driver-batch.sh"

w wine reg delete 'HKCU\Software\Wordmere' /f >/dev/null 2>&1 || true

echo "== capture library exports"
driver exports "Z:${run//\//\\}\\tchk.dll"

echo "== first start (English)"
driver start "$exe" en "bad.lxd,Old.lxd,verbs.lxc"
import -window root "$art/wordmere-en.png" || fail "screenshot"
driver checks
cp "$bin/../skin/pictures/bars.bmp" "$run/"
driver bars "Z:${run//\//\\}\\bars.bmp"
driver second "$exe"
driver keys
driver help missing "Z:${run//\//\\}"
driver quit

# The phases gathered so far run here, not inside the pipe below: there their checks would go
# to the file and a failure would be lost with the pipe's subshell.
flush_driver
echo "== settings in the registry"
# The whole key is read once ("wine reg query" is a program start too), each value from that.
w wine reg query 'HKCU\Software\Wordmere\Wordmere\Settings' 2>/dev/null | tr -d '\r' >"$run/settings.txt"
reg_value() { # reg_value NAME -> the data column of "wine reg query"
  awk -v n="$1" '{ line = $0; sub(/^[ \t]+/, "", line) }
    index(line, n) == 1 && substr(line, length(n) + 1) ~ /^[ \t]+REG_/ {
      sub(/^.*REG_[A-Z_]+[ \t]+/, "", line); print line; exit }' "$run/settings.txt"
}
expect_reg() { # expect_reg NAME VALUE
  local got; got="$(reg_value "$1")"
  if [ "$got" = "$2" ]; then echo "ok   reg $1 = $2"; else fail "reg $1: '$got', expected '$2'"; fi
}
expect_reg "Interface Language" "German"
expect_reg "Search Language" "French"
expect_reg "Translation Language" "English"
expect_reg "Topmost" "0x1"
expect_reg "Window Left" "0x64"
expect_reg "Window Width" "0x1a4"
expect_reg "Hotkey" "F11"
expect_reg "Use Beta Updater" "0x1"

echo "== second start (German, stored placement)"
driver start "$exe" de "bad.lxd,Old.lxd,verbs.lxc"
driver restarted
import -window root "$art/wordmere-de.png" || fail "screenshot"
driver quit

echo "== an unknown interface language starts in English"
flush_driver  # the quit's checks to the log, not to /dev/null with the command below
w wine reg add 'HKCU\Software\Wordmere\Wordmere\Settings' /v "Interface Language" /t REG_SZ /d Klingon /f >/dev/null 2>&1
driver start "$exe" en "bad.lxd,Old.lxd,verbs.lxc"
driver quit

samples="${3:-}"
# English-German may be split into several modules, english-german-1.lxd and on.
german=()
[ -n "$samples" ] && german=($(ls "$samples"/english-german.lxd "$samples"/english-german-[0-9]*.lxd 2>/dev/null))
if [ -n "$samples" ] && [ -f "$samples/english-french.lxd" ] && [ ${#german[@]} -gt 0 ]; then
  echo "== look-ups in the sample modules"
  flush_driver
  rm -f "$run/dictionaries/"*
  cp "$samples/english-french.lxd" "${german[@]}" "$run/dictionaries/"
  # A file that is not a module is reported, and the modules beside it still load.
  printf 'not a dictionary\n' >"$run/dictionaries/broken.lxd"
  cp "$bin/wordmerehelp.chm" "$run/" 2>/dev/null || fail "the help manual was not built"
  w wine reg delete 'HKCU\Software\Wordmere' /f >/dev/null 2>&1 || true
  oracle() { python3 "$here/app/tests/freedict_translations.py" /usr/share/dictd "$1" "$2"; }
  driver start "$exe" en broken.lxd
  driver pairs
  driver size 720 540
  for word in house cat water book; do
    driver lookup 1 2 "$word" "$(oracle eng-fra "$word")"
  done
  for word in house water dog; do
    driver lookup 1 4 "$word" "$(oracle eng-deu "$word")"
  done
  # The other direction: French words give their English translations.
  for word in maison chat; do
    driver lookup 2 1 "$word" "$(oracle fra-eng "$word")"
  done
  # Inflected forms through the French conjugation module's stems: verb forms lead to the
  # infinitive, plurals and feminines to the base form.
  if [ -f "$samples/fr.lxc" ]; then
    driver quit
    flush_driver
    cp "$samples/fr.lxc" "$run/dictionaries/"
    driver start "$exe" en broken.lxd
    driver size 720 540
    driver stem 2 1 mangeons manger "$(oracle fra-eng manger)"
    driver stem 2 1 finissons finir "$(oracle fra-eng finir)"
    driver stem 2 1 mises mettre "$(oracle fra-eng mettre)"
    driver stem 2 1 prises prendre "$(oracle fra-eng prendre)"
    driver stem 2 1 chevaux cheval "$(oracle fra-eng cheval)"
    import -window root "$art/lookup-stems.png" || fail "screenshot"
  else
    fail "no French conjugation module among the sample modules"
  fi
  driver lookup 1 2 house "maison"
  import -window root "$art/lookup-standard.png" || fail "screenshot"
  driver mode 2 house
  import -window root "$art/lookup-browse.png" || fail "screenshot"
  driver advanced "hou?e" house
  import -window root "$art/lookup-advanced.png" || fail "screenshot"
  driver mode 1 house
  driver scroll house
  driver select house
  driver clipboardbusy
  driver typing
  driver history
  driver lookup 1 2 house "maison"
  driver drop maison 1008 2 maison
  driver dropadvanced "m?ison"
  driver lookup 1 4 house "Haus"
  driver cancel "e*"
  driver help present "Z:${run//\//\\}"
  driver nohelp
  T=600 driver timing 200 "house,water,dog,cat,tree,book,child,green,run,table,window,light,bread,horse,money,night,school,stone,wind,work"
  driver contextmenu
  driver font
  import -window root "$art/lookup-font14.png" || fail "screenshot"
  driver quit
elif [ "${4:-0}" = 1 ]; then
  fail "sample modules english-french.lxd and english-german.lxd (or its parts english-german-N.lxd) are missing from \"$samples\": the native build makes them with lxdbuild from Debian's FreeDict packages (target sample_modules in build/native/dictionaries); configure this build with -DWORDMERE_SAMPLE_MODULES=<that folder>, or with -DWORDMERE_WITHOUT_SAMPLE_MODULES=ON to skip on purpose"
else
  echo "== built without sample modules on purpose: the look-up checks are skipped"
fi

flush_driver
[ "$status" -eq 0 ] && echo "gui_test: all passed" || echo "gui_test: FAILED"
exit "$status"
