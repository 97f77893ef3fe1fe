#!/usr/bin/env bash
# The dialogs of the program under Wine, driven from outside by wordmere_driver: adding an
# entry (found in both directions, the additions file made), conjugating in French,
# Italian, Spanish and Portuguese, numbers in words, the web look-up's address (handed to
# a stand-in browser that writes it down), the preferences (read back with "wine reg query"),
# and the view's tooltips, menu prompts and menu bar following the interface language, with
# screenshots of every dialog in English and in French.
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
require_sample_modules "$samples" "${4:-0}" "the dialog checks are" "${modules[@]}"

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
# The driver's phases run in one Wine process between registry read-backs (each Wine
# program start costs a minute or more here): a screenshot is asked for by the driver's "shot"
# phase, which writes the picture's name to a file and waits until the script took it.
shotwant="$run/shot.want"
flush_driver() {
  [ -s "$batch" ] || return 0
  local phases pid name
  phases="$(cut -f1 "$batch" | tr '\n' ' ')"
  rm -f "$shotwant"
  T="$batch_t" wine_run wine "$run/wordmere_driver.exe" batch "Z:${batch//\//\\}" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    if [ -s "$shotwant" ]; then
      name="$(cat "$shotwant")"
      command import -window root "$art/$name.png" || fail "screenshot $name"
      rm -f "$shotwant"
    fi
    sleep 0.3
  done
  wait "$pid" || fail "driver phases: $phases"
  : >"$batch"
  batch_t=0
}
shot() { driver shot "$(win "$shotwant")" "$1"; }
# The program's settings as "wine reg query" lists them, read once per check point.
settings="$run/settings.txt"
read_settings() {
  # The driver's phases first, outside the pipe: the program they start would hold it open.
  flush_driver
  wine_run wine reg query 'HKCU\Software\Wordmere\Wordmere\Settings' 2>/dev/null | tr -d '\r' >"$settings" ||
    fail "wine reg query of the settings"
}
expect_reg() { # expect_reg NAME VALUE: the data column of the line that names exactly NAME
  local got
  got="$(sed -n "s/^[[:space:]]*$1[[:space:]]\{1,\}REG_[A-Z_]*[[:space:]]*//p" "$settings" | head -n 1)"
  if [ "$got" = "$2" ]; then echo "ok   reg $1 = $2"; else fail "reg $1: '$got', expected '$2'"; fi
}

# No settings; the stand-in browser: web addresses open the driver, which writes down what
# it was given.
browsed="$run/browsed.txt"
driver fresh "$(win "$run")\\wordmere_driver.exe" "$(win "$browsed")"

echo "== start (English)"
driver start "$exe" en -
driver size 760 560

echo "== tooltips and menus (English)"
driver tips "1001=Type a word to look up; the list keeps your earlier searches" "1003=Look up the word" \
  "1009=Conjugate the selected verb"
driver prompts "11500=Add your own entries to the dictionary" "11490=Conjugate the selected verb"
driver menubar "$(win "$run/menubar-en.txt")"
shot frame-en

echo "== add entries"
driver addentry "$(win "$run/dictionaries")" zorblewick vabriquette
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
read_settings
expect_reg "Interface Language" "French"
expect_reg "Hotkey" "F4"
expect_reg "Hotkey Disabled" "0x1"
echo "== tooltips and menus (French)"
driver tips "1001=Tapez un mot à rechercher ; la liste garde vos recherches précédentes" "1003=Rechercher le mot" \
  "1009=Conjuguer le verbe sélectionné"
driver prompts "11500=Ajouter vos propres entrées au dictionnaire" "11490=Conjuguer le verbe sélectionné"
driver menubar "$(win "$run/menubar-fr.txt")"
shot frame-fr
for d in "11500 1202 add-entry" "11490 1401 conjugation" "11530 1101 numbers" "11550 1501 web" "11560 1602 options"; do
  set -- $d
  driver show "$1" "$2"
  shot "$3-fr"
  driver dismiss "$2"
done
driver options Anglais "Alt + clic gauche" 1 Conjugation
driver beta "From now on the update check offers beta versions."
read_settings
expect_reg "Interface Language" "English"
expect_reg "Hotkey" "Alt + left-click"
expect_reg "Hotkey Disabled" "0x0"
expect_reg "Use Beta Updater" "0x1"
driver beta "From now on the update check offers released versions only."
driver quit
read_settings
expect_reg "Use Beta Updater" "0x0"

[ -f "$run/dictionaries/english-french-additions.lxd" ] || fail "no english-french-additions.lxd in the dictionaries folder"
# The caption and menu strip of the frame, cut from both screenshots: the same place, other
# menu texts, so the pixels differ (the caption reads the same in both).
read -r mx my mw mh <"$run/menubar-en.txt" || fail "no menu strip place (English)"
if [ "$(cat "$run/menubar-fr.txt" 2>/dev/null)" != "${mx:-} ${my:-} ${mw:-} ${mh:-}" ]; then
  fail "the frame moved between the screenshots: '${mx:-} ${my:-} ${mw:-} ${mh:-}', then '$(cat "$run/menubar-fr.txt" 2>/dev/null)'"
else
  for l in en fr; do convert "$art/frame-$l.png" -crop "${mw}x${mh}+${mx}+${my}" +repage "$art/menubar-$l.png"; done
  differ="$(compare -metric AE "$art/menubar-en.png" "$art/menubar-fr.png" null: 2>&1)"
  if [ "${differ%% *}" -gt 50 ] 2>/dev/null; then echo "ok   the menu bar is redrawn in French ($differ pixels differ)"
  else fail "the menu strip did not change with the language ($differ pixels differ)"; fi
fi

[ "$status" -eq 0 ] && echo "dialogs_test: all passed" || echo "dialogs_test: FAILED"
exit "$status"
