#!/usr/bin/env bash
# Whole games of tolka driven by clicks, headless, under each rule set: the test reads the board from
# each dump, picks a legal pit at random, clicks the middle of its rectangle, and answers the end of
# the game. Then every line of the --trace is replayed through tolka-cli: each move applied to the
# board before it gives the board the line shows, a pass comes only from a side with no legal move,
# the sides take turns, and the end is the one the engine settles.
set -euo pipefail
tolka=$1
cli=$2
rsrc=$3
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$here/tolka_live.sh"
cd "$work"
cfg=$XDG_CONFIG_HOME/qiva/Tolka.cfg
RANDOM=11

while read -r rules number level; do
    mkdir -p "$(dirname "$cfg")"
    printf 'TOLKA_1_0\n 1 1 1 1 1 %s %s\n' "$level" "$number" > "$cfg"
    tolka_start --trace "$rules.trace"
    start_game
    refused=""
    for ((turn = 0; turn < 200 && g_gameon == 1 && g_awaiting == 1; turn++)); do
        moves=($(legal "$rules" 0 "$g_board"))
        [ ${#moves[@]} -gt 0 ] || fail "$rules: the player is asked to move with no legal move: $g_board"
        # Once a game, a pit with seeds that the rules refuse: message 28, sound 5, and no move.
        read -r -a counts <<< "$g_board"
        if [ -z "$refused" ]; then
            for place in 0 1 2 3 4 5; do
                [ "${counts[place]}" -gt 0 ] && [[ " ${moves[*]} " != *" $place "* ]] || continue
                before=$g_board sounds=$g_sounds
                say "move $(centre "^pit $place ")" 'wait 1'
                click_pit "$place"
                say 'wait 1'
                dump
                [ "$g_message" = "$(str 28)" ] && [ "$g_sound" = 5 ] && [ "$g_sounds" = $((sounds + 1)) ] &&
                    [ "$g_awaiting" = 1 ] && [ "$g_board" = "$before" ] ||
                    fail "$rules: refused pit $place of $before: $(cat dump.txt)"
                refused=$place
                break
            done
        fi
        click_pit "${moves[RANDOM % ${#moves[@]}]}"
        settle
        last=$(grep '^move' "$rules.trace" | tail -1 | cut -d' ' -f4-)
        [ "$g_board" = "$last" ] || [ -n "$g_dialog" ] || fail "$rules: the board shows $g_board, the trace $last"
    done
    [ "$g_dialog" = 2003 ] && grep -q '^over' "$rules.trace" || fail "$rules: the game did not end: $(cat dump.txt)"
    say 'key return'
    tolka_end || fail "$rules: status $?"

    check_trace "$rules" "$rules.trace"
    [ "$(grep -c '^move 0' "$rules.trace")" -ge 3 ] || fail "$rules: too short a game to tell: $(cat "$rules.trace")"
    [ -n "$refused" ] || echo "$rules: no pit was refused in this game"
done <<'CASES'
standard 0 0
relay 1 1
CASES
echo OK
