#!/usr/bin/env bash
# One run of tolka through most of what a person meets, headless through a live script: a match of
# several games played with the space bar and clicks on the pits (the hand animated, then not, then at
# a higher level), the help opened, scrolled and put behind the board, the about box, the score sheet,
# each of the toolkit's settings panels from a right click on the desktop strip under the window, a
# game under the relay rules, and Quit. In the sanitizer build this is the check on the program as a
# whole: a fault of memory, a leak or undefined behaviour anywhere on the way ends it with an error.
set -euo pipefail
tolka=$1
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$here/tolka_live.sh"
cd "$work"

ended() { grep -c '^over ' trace.txt 2> /dev/null || true; }

# play N: plays until N more games have ended. The player's moves alternate between the space bar and
# a click on a pit holding seeds; a summary goes with Return; the next draw is answered with a fist
# while games remain and cancelled (Return) once they are played.
play() {
    local want=$(($(ended) + $1)) turn=0 i place
    local -a board
    for ((i = 0; i < 3000; i++)); do
        say 'wait 1'
        dump
        if [ -n "$g_dialog" ]; then
            if [ "$g_dialog" = 2003 ]; then
                if [ "$(ended)" -ge "$want" ]; then
                    say 'key return' 'wait 1'
                    return 0
                fi
                say "click $(centre '^ditem 3 ')"
            else
                say 'key return'
            fi
            continue
        fi
        if [ "$g_gameon" = 0 ]; then
            [ "$(ended)" -ge "$want" ] && return 0
            say 'key ctrl+n' 'wait 1'
            continue
        fi
        [ "$g_awaiting" = 1 ] || continue
        turn=$((turn + 1))
        if ((turn % 2)); then
            say 'key space'
            continue
        fi
        read -ra board <<< "$g_board"
        for ((place = (turn / 2) % 6; board[place] == 0; place = (place + 1) % 6)); do :; done
        say "move $(centre "^pit $place ")" 'wait 1' "click $(centre "^pit $place ")"
    done
    fail "the games never ended: $(cat dump.txt)"
}

tolka_start --trace trace.txt
say 'key ctrl+m' 'wait 1'
play 2
choose 130 5 # the hand off
say 'key ctrl+2'
play 2
[ "$(ended)" = 4 ] || fail "$(ended) games ended of 4"
dump
[ "$g_level" = 1 ] || fail "level $g_level after Control+2"

# The help beside the board: F1 opens it at the start, the keys and the wheel scroll it, a click on
# the board brings the board in front again.
say 'key f1' 'wait 2'
dump
grep -q '^help file "tolka.hlp" .* top 0 ' dump.txt || fail "no help: $(grep -e '^help' -e '^window' dump.txt)"
say 'key pagedown' 'wheel -3' 'key down' 'wait 1'
dump
grep -q '^help file "tolka.hlp" .* top [1-9]' dump.txt || fail "the help did not scroll: $(grep '^help' dump.txt)"
say 'click 60 300' 'wait 1'
dump
grep -m1 '^window ' dump.txt | grep -q 'refcon 0 ' || fail "the board is not in front: $(grep '^window' dump.txt)"

# The about box and the score sheet, each closed with Return.
choose 128 1
dump
[ "$g_dialog" = 1000 ] || fail "about box $g_dialog"
say 'key return' 'wait 2'
dump
[ -z "$g_dialog" ] || fail "the about box stayed: $g_dialog"
say 'key ctrl+f' 'wait 2'
dump
[ "$g_dialog" = 2000 ] || fail "score sheet $g_dialog"
say 'key return' 'wait 2'
dump
[ -z "$g_dialog" ] || fail "the score sheet stayed: $g_dialog"

# Each settings panel from the popup of a right click on the desktop strip below the window: the
# first two closed with Escape, the others with Return.
for k in 1 2 3 4; do
    say 'move 320 449' 'mousedown right' 'wait 1'
    dump
    grep -q "^item 9998 $k " dump.txt || fail "no settings popup: $(grep -e '^menu' -e '^item' dump.txt)"
    say "move $(centre "^item 9998 $k ")" 'mouseup right' 'wait 2'
    dump
    [ "$g_dialog" = $((k - 9999)) ] || fail "panel $k: dialog '$g_dialog'"
    ((k <= 2)) && say 'key escape' 'wait 2' || say 'key return' 'wait 2'
    dump
    [ -z "$g_dialog" ] || fail "panel $k stayed: $g_dialog"
done

# A game under the relay rules, then Quit.
choose 129 2
play 1
dump
[ "$g_rules" = 1 ] || fail "rules $g_rules"
say 'key ctrl+q' 'wait 2'
tolka_end || fail "status $?: $(cat live.err)"
echo OK
