#!/usr/bin/env bash
# tolka's help, headless: F1 opens the help viewer at the game's topic beside the board, the keys,
# the wheel and the topic list scroll it, a move is played beside it, the close box closes it and its
# title bar moves it; a help file that cannot be found is reported with its error code and the game
# goes on, in both languages.
set -euo pipefail
tolka=$1
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"
run() { timeout 60 "$@" > out.txt 2> err.txt || fail "run $*: status $? $(cat err.txt)"; }
# help N: the help line of the Nth dump; game N: its game line. (Checks read them through "<<<": a
# grep -q ending a pipe early would fail the pipe under pipefail.)
help() { grep -e '^help ' -e '^end$' out.txt | awk -v n="$1" '/^end$/ { i++; next } i == n - 1'; }
game() { grep -e '^game ' -e '^end$' out.txt | awk -v n="$1" '/^end$/ { i++; next } i == n - 1'; }

cat > open.txt <<'SCRIPT'
# The language alert: French.
key return
wait 10
key return
wait 5
key f1
wait 5
dump -
key pagedown
key pagedown
key down
move 450 200
wheel -2
wait 2
dump -
shot help.png
# The fifth entry of the topic list.
click 300 133
wait 2
dump -
key home
wait 2
dump -
# A new game, the command key given with the help in front; the left fist in the draw.
key ctrl+n
wait 5
click 256 245
wait 600
# The board comes forward, the viewer stays open behind it; the rightmost pit is always a move.
click 100 300
wait 5
click 555 268
wait 900
dump -
# The help key brings the viewer forward again, and its close box closes it.
key f1
wait 2
click 259 55
wait 5
dump -
SCRIPT
run "$tolka" --script open.txt
grep -qx 'help file "tolka.hlp" topic "Tolka" top 0 lines [0-9]*' <<< "$(help 1)" || fail "opened: $(help 1)"
lines=$(help 1 | awk '{ print $NF }')
[ "$lines" -gt 100 ] || fail "the file laid out in $lines lines"
# Two pages of 19 new lines, one line, two notches of three.
grep -qx "help file \"tolka.hlp\" topic \"Jouer un coup\" top 45 lines $lines" <<< "$(help 2)" || fail "scrolled: $(help 2)"
grep -q '^help file "tolka.hlp" topic "Fin de la partie" top [0-9]* ' <<< "$(help 3)" || fail "topic list: $(help 3)"
grep -q '^help file "tolka.hlp" topic "Tolka" top 0 ' <<< "$(help 4)" || fail "home: $(help 4)"
grep -q '^help ' <<< "$(help 5)" || fail "the viewer closed while the game was played"
grep -q '^game rules 0 level 0 english 0 gameon 1 awaiting 1 turn 0 board [0-9]* [0-9]* [0-9]* [0-9]* [0-9]* 0 ' <<< "$(game 5)" ||
    fail "the move beside the help was not played: $(game 5)"
[ -z "$(help 6)" ] || fail "the close box left the viewer open: $(help 6)"
grep -q '^game rules 0 level 0 english 0 gameon 1 ' <<< "$(game 6)" || fail "the game went away with the viewer: $(game 6)"
[ -s help.png ] || fail "no screenshot"

# Without a help file anywhere the message says so with the error code, and the game goes on.
mkdir -p bin sys
cp "$tolka" bin/tolka
cp "$(dirname "$tolka")/TOLKA.RSR" bin/
cp "$(dirname "$tolka")/WINIT.RSR" "$(dirname "$tolka")/WLANG.RSR" sys/
printf 'wait 10\nkey return\nwait 5\nkey f1\nwait 5\ndump -\nkey return\nwait 2\nkey ctrl+4\nwait 2\ndump -\n' > missing.txt
QIVA=$work/sys run bin/tolka --script missing.txt
grep -q '^dialog 1001 kind alert$' out.txt || fail "no message alert: $(grep -e '^dialog' -e '^ditem' out.txt)"
grep -q "^ditem 2 type 8 .* text \"Impossible de trouver le fichier d'aide (erreur 2)\"$" out.txt ||
    fail "the message: $(grep '^ditem' out.txt)"
[ -z "$(help 1)" ] || fail "a viewer opened without its file"
grep -q '^game rules 0 level 3 ' <<< "$(game 2)" || fail "the game did not go on: $(game 2)"
# In English (Escape at the language question) the English file, and the English message.
printf 'wait 10\nkey escape\nwait 5\nkey f1\nwait 5\ndump -\nkey return\nwait 2\ndump -\n' > english.txt
QIVA=$work/sys run bin/tolka --script english.txt
grep -q "^ditem 2 type 8 .* text \"Can't found 'tolka_gb.hlp'(error 2)\"$" out.txt ||
    fail "the English message: $(grep '^ditem' out.txt)"
grep -q '^game rules 0 level [0-9] english 1 ' <<< "$(game 2)" || fail "the English game did not go on: $(game 2)"
# The English file; the viewer's title bar drags it 50 pixels left and 46 down.
printf 'wait 10\nkey escape\nwait 5\nkey f1\nwait 5\ndump -\nmove 450 54\nmousedown\nmove 420 80\nmove 400 100\nmouseup\nwait 5\ndump -\n' > drag.txt
run "$tolka" --script drag.txt
grep -q '^help file "tolka_gb.hlp" topic "Tolka" top 0 ' <<< "$(help 1)" || fail "the English help: $(help 1)"
grep -q ' refcon -1 .* content 250 66 632 410 ' <<< "$(grep '^window 0 ' out.txt | sed -n 1p)" || fail "opened at $(grep '^window 0 ' out.txt)"
grep -q ' refcon -1 .* content 200 112 582 456 ' <<< "$(grep '^window 0 ' out.txt | sed -n 2p)" || fail "dragged to $(grep '^window 0 ' out.txt)"
grep -q '^help file "tolka_gb.hlp" ' <<< "$(help 2)" || fail "the drag closed the help"
echo OK
