#!/usr/bin/env bash
# tolka played end to end, headless, through a live script: the language and the resources it picks,
# the who-starts draw and the series of games, clicks the rules refuse, the relay passes, the menu
# commands that end or keep a game, the space bar, and quitting in the middle of a game.
set -euo pipefail
tolka=$1
rsrc=$2
cli=$3
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$here/tolka_live.sh"
cd "$work"
cfg=$XDG_CONFIG_HOME/qiva/Tolka.cfg
empty="0 0 0 0 0 0 0 0 0 0 0 0 0 0"
title() { sed -n 's/^window [0-9]* title "\(.*\)" kind 8 .*/\1/p' "$work/dump.txt"; }

# The language: item 1 of the alert keeps the French resources, item 2 (Escape) takes every menu,
# dialog and string from its number plus 10000; the window, the alert itself and the pictures keep theirs.
while read -r key offset game_menu; do
    LANGUAGE_KEY="" tolka_start
    dump
    [ "$g_dialog" = 133 ] || fail "the language alert first: $(cat dump.txt)"
    say "key $key" "wait 2"
    dump
    [ "$g_english" = $((offset / 10000)) ] || fail "$key: english $g_english"
    for menu in 128 129 130; do
        grep -q "^menu $((menu + offset)) " dump.txt || fail "$key: no menu $((menu + offset)): $(cat dump.txt)"
    done
    grep -q "^menu $((129 + offset)) title \"$game_menu\"" dump.txt || fail "$key: game menu $(grep '^menu' dump.txt)"
    [ "$g_message" = "$(str 16 $((100 + offset)))" ] || fail "$key: idle hint '$g_message'"
    [ "$(title)" = "$(str 20 $((100 + offset)))" ] || fail "$key: idle title '$(title)'"
    say 'key ctrl+n' 'wait 1'
    dump
    [ "$g_dialog" = $((2003 + offset)) ] || fail "$key: who-starts dialog $g_dialog"
    click_item 3
    settle
    [ "$(title)" = "$(str 21 $((100 + offset)))" ] || fail "$key: title in a game '$(title)'"
    [[ $g_message == "$(str 5 $((100 + offset)))"* ]] || fail "$key: pit hint '$g_message'"
    # Quit while a game is on asks first, in the language chosen.
    say 'key ctrl+q' 'wait 1'
    dump
    [ "$g_dialog" = $((128 + offset)) ] || fail "$key: quit alert $g_dialog"
    say 'key return'
    tolka_end || fail "$key: quit status $?"
done <<'CASES'
return 0 Partie
escape 10000 Game
CASES

# Cancelling the who-starts draw of a new match ends the match: no game, an empty board, New game
# and New match back, Stop match off. Escape (item 2, the dialog's text) leaves the draw up.
tolka_start
say 'key ctrl+m' 'wait 1' 'key escape' 'wait 1'
dump
[ "$g_dialog" = 2003 ] || fail "Escape closed the who-starts dialog: $(cat dump.txt)"
say 'key return' 'wait 1'
dump
[ -z "$g_dialog" ] && [ "$g_gameon" = 0 ] && [ "$g_board" = "$empty" ] || fail "cancelled draw: $(cat dump.txt)"
[ "$(title)" = "$(str 20)" ] || fail "title after the cancelled match '$(title)'"
for item in "4 1" "5 1" "6 0"; do
    set -- $item
    menu_item 129 "$1" | grep -q " enabled $2 " || fail "after the match, item $1 of the game menu: $(menu_item 129 "$1")"
done
tolka_end || fail "status $?"

# A game that ends normally is followed at once by the draw of the next one; cancelling it empties
# the board, and the panel says again how to start. From this board any first move ends the game.
tolka_start --board "0 0 0 0 0 2 0 0 0 0 0 1 22 23" --trace trace.txt
say 'move 560 260' 'wait 1'
start_game
if [ "$g_awaiting" = 1 ]; then
    click_pit 5
    settle
fi
[ "$g_dialog" = 2003 ] && [ "$g_gameon" = 1 ] || fail "no new draw after the end: $(cat dump.txt)"
grep -q '^over ' trace.txt || fail "the game did not end: $(cat trace.txt)"
[ "$g_board" != "$empty" ] || fail "the board was emptied before the draw"
say 'key return' 'wait 1'
dump
[ "$g_gameon" = 0 ] && [ "$g_board" = "$empty" ] || fail "after the cancelled draw: $(cat dump.txt)"
[ "$g_message" = "$(str 16)" ] || fail "hint after the cancelled draw: '$g_message'"
tolka_end || fail "status $?"

# Clicks the game refuses: an empty pit of the player's row (27), a pit of the computer's row or no
# pit at all (29); each with sound 5, and the player still to move. The pointer rests on the spot
# first, as a person's does. The computer cannot reach pit 0 from this board.
tolka_start --board "0 4 4 4 4 4 2 2 2 2 1 0 0 0"
start_game
[ "$g_awaiting" = 1 ] && [ "${g_board%% *}" = 0 ] || fail "refused clicks: no wait for the player: $(cat dump.txt)"
while read -r what spot message; do
    before=$g_board sounds=$g_sounds
    [ "$spot" = - ] && spot=$(centre "^pit $what ") || spot=${spot/,/ }
    say "move $spot" 'wait 1' "click $spot" 'wait 1'
    dump
    [ "$g_message" = "$(str "$message")" ] || fail "$what: message '$g_message', want $message"
    [ "$g_sound" = 5 ] && [ "$g_sounds" = $((sounds + 1)) ] || fail "$what: sound $g_sound, $sounds then $g_sounds"
    [ "$g_awaiting" = 1 ] && [ "$g_board" = "$before" ] || fail "$what: the move was taken: $(cat dump.txt)"
done <<'CASES'
0 - 27
8 - 29
panel 320,400 29
CASES
tolka_end || fail "status $?"

# Relay rules (from the settings file). A player without a pit of two seeds passes without a word;
# the computer in the same case says so (message 30), and that stays in the panel until the pointer
# moves to another pit. Whoever starts, from these boards the side with single seeds must pass.
printf 'TOLKA_1_0\n 1 1 1 1 1 0 1\n' > "$cfg"
tolka_start --board "1 0 0 0 0 0 2 0 0 2 0 0 20 23" --trace trace.txt
start_game
grep -qx 'pass 0' trace.txt || fail "the player did not pass: $(cat trace.txt)"
! grep -q 'pass 1' trace.txt || fail "the computer passed: $(cat trace.txt)"
tolka_end || fail "status $?"
tolka_start --board "2 0 0 2 0 0 1 0 0 0 0 0 20 23" --trace trace.txt
start_game
if ! grep -qx 'pass 1' trace.txt; then
    # The player starts: the pointer rests on the pit, then clicks it.
    say "move $(centre '^pit 0 ')" 'wait 1'
    click_pit 0
    settle
fi
[ "$(grep -v '^move 0' trace.txt)" = 'pass 1' ] || fail "the computer did not pass: $(cat trace.txt)"
[ "$g_awaiting" = 1 ] && [ "$g_message" = "$(str 30)" ] || fail "the computer's pass: $(cat dump.txt)"
say 'move 320 400' 'wait 1'
dump
[ "$g_message" = "$(str 10)" ] || fail "the hint after the pointer left: '$g_message'"
tolka_end || fail "status $?"
rm "$cfg"

# A change of rules in a game: the rules in force change nothing and ask nothing; the other rules ask
# first (Escape keeps the game), then, confirmed, end the game and leave no game on.
tolka_start
start_game
while read -r item answer rules gameon; do
    choose 129 "$item"
    dump
    if [ "$answer" = - ]; then
        [ -z "$g_dialog" ] || fail "rules $item asked: $(cat dump.txt)"
    else
        [ "$g_dialog" = 128 ] || fail "rules $item did not ask: $(cat dump.txt)"
        say "key $answer" 'wait 5'
        dump
    fi
    [ "$g_rules" = "$rules" ] && [ "$g_gameon" = "$gameon" ] || fail "rules $item, $answer: $(cat dump.txt)"
done <<'CASES'
1 - 0 1
2 escape 0 1
2 return 1 0
CASES
[ "$g_board" = "$empty" ] && [ "$(title)" = "$(str 20)" ] || fail "after the change of rules: $(cat dump.txt)"
menu_item 129 2 | grep -q ' mark ✓ ' || fail "relay rules not marked: $(menu_item 129 2)"
tolka_end || fail "status $?"
[ "$(cat "$cfg")" = $'TOLKA_1_0\n 1 1 1 1 1 0 1' ] || fail "rules written: $(cat "$cfg")"
rm "$cfg"

# The messages option: off, the panel says nothing; on again, the hint comes back at once, though
# the pointer (on the menu, over no pit) has not moved to another pit.
tolka_start
start_game
say 'move 320 400' 'wait 1'
dump
[ "$g_message" = "$(str 10)" ] || fail "hint over no pit: '$g_message'"
while read -r message; do
    choose 130 6
    dump
    [ "$g_message" = "${message:+$(str "$message")}" ] || fail "messages option: '$g_message', want string '$message'"
done <<'CASES'

10
CASES
tolka_end || fail "status $?"

# New match during a game, the question declined: the game goes on as the first game of the match,
# and the title and the game menu say so at once.
tolka_start
start_game
before=$g_board
say 'key ctrl+m' 'wait 1'
dump
[ "$g_dialog" = 128 ] || fail "new match did not ask: $(cat dump.txt)"
say 'key escape' 'wait 5'
dump
[ -z "$g_dialog" ] && [ "$g_awaiting" = 1 ] && [ "$g_board" = "$before" ] || fail "declined new match: $(cat dump.txt)"
want=$(str 22 | sed 's/%d/1/; s/%d/1/')
[ "$(title)" = "$want" ] || fail "title in the match's first game '$(title)', want '$want'"
menu_item 129 6 | grep -q ' enabled 1 ' || fail "Stop match is off in the match"
tolka_end || fail "status $?"

# Quit in the player's turn, by the menu's key or by closing the window: declined, the game goes on;
# confirmed, the program ends at once and the options changed meanwhile are written.
while read -r quit; do
    tolka_start --trace trace.txt
    start_game
    say 'key ctrl+s' "$quit" 'wait 1'
    dump
    [ "$g_dialog" = 128 ] || fail "$quit did not ask: $(cat dump.txt)"
    say 'key escape' 'wait 1'
    dump
    [ -z "$g_dialog" ] && [ "$g_awaiting" = 1 ] || fail "declined $quit: $(cat dump.txt)"
    say "$quit" 'wait 1' 'key return' 'wait 1' 'dump -'
    tolka_end || fail "$quit: status $?"
    ! grep -q '^end$' rest.txt || fail "$quit: the program went on to the next dump"
    [ "$(cat "$cfg")" = $'TOLKA_1_0\n 1 1 0 1 1 0 0' ] || fail "settings after $quit: $(cat "$cfg")"
    ! grep -q '^over' trace.txt || fail "$quit: the game was played out"
    rm "$cfg"
done <<'CASES'
key ctrl+q
close
CASES

# The space bar: nothing while no game is on; in the player's turn the move a search of 8 plies
# chooses, whatever the level (0 here, one ply), and then the computer plays at its own level again.
# The relay rules make the computer pass if it starts, so the player moves from this board either
# way; the choices are checked against the engine over many seeds, as a search breaks ties at random.
choices() { # SIDE DEPTH BOARD: every move the search may choose
    local seed
    for seed in $(seq 1 24); do "$cli" search --rules relay --side "$1" --depth "$2" --seed "$seed" --board "$3"; done |
        awk '{ print $2 }' | sort -u | tr '\n' ' '
}
board="5 3 4 1 5 3 0 1 1 0 0 1 12 12"
deep=$(choices 0 8 "$board") deep=${deep% }
[ "$(wc -w <<< "$deep")" = 1 ] && [[ " $(choices 0 1 "$board")" != *" $deep"* ]] || fail "the space bar's fixture: $deep"
after=$("$cli" play --rules relay --side 0 --place "$deep" --board "$board")
reply=$(choices 1 1 "$after") deep_reply=$(choices 1 8 "$after")
printf 'TOLKA_1_0\n 1 1 1 1 1 0 1\n' > "$cfg"
tolka_start --board "$board" --trace trace.txt
say 'key space' 'wait 1'
dump
[ "$g_gameon" = 0 ] && [ "$g_sounds" = 0 ] && [ "$g_board" = "$empty" ] || fail "space bar with no game: $(cat dump.txt)"
start_game
[ "$g_board" = "$board" ] || fail "the space bar's game: $(cat trace.txt)"
say 'key space'
settle
moves=$(grep '^move' trace.txt) || true
read -r _ side place rest <<< "$(grep '^move 0' trace.txt | head -1)"
[ "$place" = "$deep" ] && [ "$rest" = "$after" ] || fail "the space bar played $place ($rest), not $deep"
read -r _ _ place _ <<< "$(grep -A1 '^move 0' trace.txt | sed -n 2p)"
[[ " $reply" == *" $place "* ]] && [[ " $deep_reply" != *" $place "* ]] ||
    fail "the computer replied $place: one ply gives $reply, eight $deep_reply"
tolka_end || fail "status $?"
rm "$cfg"

# Stop match in a game of the match asks first: Escape keeps the match and its game; Return ends both.
tolka_start
say 'key ctrl+m' 'wait 1'
click_item 3
settle
while read -r answer gameon; do
    choose 129 6
    dump
    [ "$g_dialog" = 132 ] || fail "stop match did not ask: $(cat dump.txt)"
    say "key $answer" 'wait 5'
    dump
    [ -z "$g_dialog" ] && [ "$g_gameon" = "$gameon" ] || fail "stop match, $answer: $(cat dump.txt)"
done <<'CASES'
escape 1
return 0
CASES
[ "$g_board" = "$empty" ] && [ "$(title)" = "$(str 20)" ] || fail "after the match was stopped: $(cat dump.txt)"
menu_item 129 6 | grep -q ' enabled 0 ' || fail "Stop match still on after the match"
tolka_end || fail "status $?"

# Command keys see the menus as the game stands: in a match New game is off and its key does nothing;
# once the match is complete (nine games, one move each from this board) the key asks to abandon the
# game in progress, though no menu command has run since the match ended.
tolka_start --board "0 0 0 0 0 2 0 0 0 0 0 1 22 23" --trace trace.txt
say 'key ctrl+m' 'wait 1'
for ((game = 1; game < 40; game++)); do
    dump
    [ "$g_dialog" = 2003 ] || fail "game $game: no draw: $(cat dump.txt)"
    click_item 3
    settle
    [ "$g_awaiting" = 1 ] || continue
    say 'key ctrl+n' 'wait 1'
    dump
    if [ "$(grep -c '^over' trace.txt)" -lt 9 ]; then
        [ -z "$g_dialog" ] || fail "New game's key worked in the match's game $game: $(cat dump.txt)"
        click_pit 5
        settle
    else
        [ "$g_dialog" = 128 ] || fail "New game's key after the match: $(cat dump.txt)"
        break
    fi
done
tolka_end || fail "status $?"

echo OK
