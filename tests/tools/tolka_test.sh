#!/usr/bin/env bash
# tolka's command line, start-up and settings file, headless: the options of its own, a start without
# its resource file, Tolka.cfg read and written beside WQIVA.INI in each of its cases, and command keys
# changing options that the next run finds again.
set -euo pipefail
tolka=$1
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"
cfg=$XDG_CONFIG_HOME/qiva/Tolka.cfg

# The command line.
"$tolka" --version | grep -qx 'tolka [0-9.]*' || fail "--version"
status=0; "$tolka" --bogus > /dev/null 2> err.txt || status=$?
[ $status -eq 2 ] && grep -q -- '--bogus' err.txt || fail "an unknown option: status $status"
status=0; "$tolka" --headless > /dev/null 2> err.txt < /dev/null || status=$?
[ $status -eq 2 ] || fail "a headless run without a script: status $status"
status=0; "$tolka" --trace > /dev/null 2>&1 || status=$?
[ $status -eq 2 ] || fail "--trace without a file: status $status"
status=0; "$tolka" --trace "$work/no/such/dir/t.txt" --script /dev/null > /dev/null 2>&1 || status=$?
[ $status -eq 2 ] || fail "a trace that cannot be written: status $status"
for board in "" "4 4 4" "4 4 4 4 4 4 4 4 4 4 4 4 0 1" "49 0 0 0 0 0 0 0 0 0 0 0 0 0" "4 4 4 4 4 4 4 4 4 4 4 4 0  0"; do
    status=0; "$tolka" --board "$board" --script /dev/null > /dev/null 2> err.txt || status=$?
    [ $status -eq 2 ] && grep -q -- '--board: ' err.txt || fail "--board '$board': status $status $(cat err.txt)"
done
status=0; "$tolka" --board > /dev/null 2> err.txt || status=$?
[ $status -eq 2 ] || fail "--board without a board: status $status"
[ ! -e "$cfg" ] || fail "a refused command line wrote the settings"

# game DUMP: the game line of a dump.
game() { grep '^game ' "$1"; }
run() { timeout 60 "$tolka" --script "$1" > out.txt 2> err.txt || fail "run $1: status $? $(cat err.txt)"; }

# No file: the defaults, and the file written at the end of the run.
printf 'key return\nwait 10\ndump -\n' > idle.txt
run idle.txt
game out.txt | grep -q '^game rules 0 level 0 english 0 gameon 0 awaiting 0 turn -1 board 0 0 0 0 0 0 0 0 0 0 0 0 0 0 message ".\+"$' ||
    fail "idle start: $(game out.txt)"
[ "$(cat "$cfg")" = $'TOLKA_1_0\n 1 1 1 1 1 0 0' ] || fail "defaults written: $(cat "$cfg")"
[ "$(grep -c '^pit ' out.txt)" = 12 ] || fail "twelve pit lines"

# The language is asked first, in an alert: Escape chooses its item 2, English.
printf 'wait 5\ndump -\nkey escape\nwait 10\ndump -\n' > english.txt
run english.txt
grep -qx 'dialog 133 kind alert' out.txt || fail "no language alert: $(cat out.txt)"
grep -q '^ditem 2 type 4 .* text "English"$' out.txt || fail "the alert's English button: $(grep '^ditem' out.txt)"
game out.txt | grep -q '^game rules 0 level 0 english 1 ' || fail "English chosen: $(game out.txt)"

# The file's cases: what the next run shows, and what it writes back.
check() { # TEXT LEVEL RULES WRITTEN
    printf '%b' "$1" > "$cfg"
    run idle.txt
    game out.txt | grep -q "^game rules $3 level $2 " || fail "from '$1': $(game out.txt)"
    [ "$(cat "$cfg")" = "$(printf '%b' "$4")" ] || fail "from '$1' written: $(cat "$cfg")"
}
check 'TOLKA_1_0\n 0 1 0 1 0 2 1\n' 2 1 'TOLKA_1_0\n 0 1 0 1 0 2 1'
check 'TOLKA_0_9\n 0 0 0 0 0 3 1\n' 0 0 'TOLKA_1_0\n 1 1 1 1 1 0 0'
check 'TOLKA_1_0\n' 0 0 'TOLKA_1_0\n 1 1 1 1 1 0 0'
check 'TOLKA_1_0 2 2 0 2 -1 3' 3 0 'TOLKA_1_0\n 1 1 0 1 1 3 0'
check 'TOLKA_1_0 1 1 1 1 1 7 9' 0 0 'TOLKA_1_0\n 1 1 1 1 1 0 0'
check '\x00\xff\xfe garbage' 0 0 'TOLKA_1_0\n 1 1 1 1 1 0 0'
# Another settings file in the current folder is not the game's.
printf 'TOLKA_1_0 0 0 0 0 0 3 1\n' > Tolka.cfg
check 'TOLKA_1_0 1 1 1 1 1 1 0' 1 0 'TOLKA_1_0\n 1 1 1 1 1 1 0'

# A settings file that can be neither read nor written (a folder in its place): the defaults, no
# error, and the folder left as it was.
rm -f "$cfg"
mkdir "$cfg"
run idle.txt
game out.txt | grep -q '^game rules 0 level 0 ' || fail "unreadable settings: $(game out.txt)"
[ -d "$cfg" ] && [ -z "$(ls -A "$cfg")" ] || fail "the folder in the settings' place was changed"
rmdir "$cfg"

# Command keys: level 4 (expert) silences the panel; the sound option off; quit writes both.
rm -f "$cfg"
printf 'key return\nwait 10\nkey ctrl+4\nwait 1\nkey ctrl+s\nwait 1\ndump -\nkey ctrl+q\nwait 5\ndump -\n' > keys.txt
run keys.txt
[ "$(grep -c '^end$' out.txt)" = 1 ] || fail "quit did not end the run at once"
game out.txt | grep -q '^game rules 0 level 3 .* message ""$' || fail "expert level: $(game out.txt)"
[ "$(cat "$cfg")" = $'TOLKA_1_0\n 1 1 0 1 0 3 0' ] || fail "options after the keys: $(cat "$cfg")"
# Level 1 (beginner) brings the messages back.
printf 'key return\nwait 10\nkey ctrl+1\nwait 1\ndump -\n' > beginner.txt
run beginner.txt
game out.txt | grep -q '^game rules 0 level 0 .* message ".\+"$' || fail "beginner level: $(game out.txt)"

# Without TOLKA.RSR the program ends after saying so, and writes no settings.
rm -f "$cfg"
mkdir -p bin sys
cp "$tolka" bin/tolka
cp "$(dirname "$tolka")/WINIT.RSR" "$(dirname "$tolka")/WLANG.RSR" sys/
status=0
QIVA=$work/sys timeout 60 bin/tolka --script idle.txt > out.txt 2> err.txt || status=$?
[ $status -eq 0 ] || fail "missing TOLKA.RSR: status $status $(cat err.txt)"
! grep -q '^game ' out.txt || fail "missing TOLKA.RSR: the game went on"
# The game's message alert is in the missing file: the toolkit's error box says what is wrong.
grep -q 'Des fichiers essentiels sont absents' err.txt || fail "missing TOLKA.RSR: not said: $(cat err.txt)"
[ ! -e "$cfg" ] || fail "missing TOLKA.RSR: settings written"
echo OK
