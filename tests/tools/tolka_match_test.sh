#!/usr/bin/env bash
# A game of a match played to its end, headless (the space bar plays the player's moves): the
# end-of-game summary counts what the board holds, then the score sheet shows the game scored, and
# the next game of the match is drawn for.
set -euo pipefail
tolka=$1
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"
# New match, the left fist; then the space bar until the game is over (presses beyond its end reach
# the summary, which ignores them).
{
    printf 'wait 10\nkey return\nwait 5\nkey ctrl+m\nwait 5\nclick 256 245\nwait 300\n'
    for _ in $(seq 1 150); do printf 'key space\nwait 400\n'; done
    printf 'dump -\nkey return\nwait 5\ndump -\nkey return\nwait 5\ndump -\n'
} > match.txt
timeout 120 "$tolka" --script match.txt > out.txt 2> err.txt || fail "status $? $(cat err.txt)"
# part N: the Nth dump.
part() { awk -v n="$1" '/^end$/ { i++; next } i == n - 1' out.txt; }
item() { part "$1" | grep "^ditem $2 " | sed 's/.* text "\(.*\)"$/\1/'; }

grep -q '^dialog 2002 kind modal$' <<< "$(part 1)" || fail "no summary: $(part 1 | grep -e '^dialog' -e '^game')"
read -r s0 s1 < <(part 1 | grep '^game ' | sed 's/.* board \([0-9 ]*\) message.*/\1/' | awk '{ print $13, $14 }')
[ $((s0 + s1)) -eq 48 ] || fail "the stores hold $s0 and $s1"

grep -q '^dialog 2000 kind modal$' <<< "$(part 2)" || fail "no score sheet after the summary: $(part 2 | grep '^dialog')"
if [ "$s0" -gt "$s1" ]; then want="12 $((s0 - 24)) $((s0 - 12)) 0 0 0"
elif [ "$s1" -gt "$s0" ]; then want="0 0 0 12 $((s1 - 24)) $((s1 - 12))"
else want="6 0 6 6 0 6"; fi
got="$(item 2 3) $(item 2 4) $(item 2 5) $(item 2 44) $(item 2 45) $(item 2 46)"
[ "$got" = "$want" ] || fail "game 1 of $s0 to $s1 scored $got, not $want"
[ -z "$(item 2 6)" ] || fail "game 2 already has numbers"
[ -n "$(item 2 84)" ] || fail "no result on the sheet"

grep -q '^dialog 2003 kind modal$' <<< "$(part 3)" || fail "the match did not go on: $(part 3 | grep '^dialog')"
grep -q 'title "Tolka .* Match.*: partie 2, manche 1"' <<< "$(part 3 | grep '^window ')" || fail "title: $(part 3 | grep '^window ')"
echo OK
