#!/usr/bin/env bash
# tolka-cli as its users run it: exact answers on standard output, errors on standard error with status 2.
set -u
cli="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect "expected stdout" args...: status 0 and exactly that output
expect() {
    local want="$1"; shift
    local got status
    got=$("$cli" "$@" 2>/dev/null); status=$?
    if [ "$status" -ne 0 ]; then fail "$* -> status $status"; return; fi
    if [ "$got" != "$want" ]; then fail "$*"$'\n'"  want: $want"$'\n'"  got:  $got"; return; fi
    passes=$((passes + 1))
}

# refuse args...: status 2, nothing on stdout, a message on stderr
refuse() {
    local out err="$work/err" status
    out=$("$cli" "$@" 2>"$err"); status=$?
    if [ "$status" -ne 2 ] || [ -n "$out" ] || [ ! -s "$err" ]; then fail "refuse $* -> status $status, stdout '$out'"
    else passes=$((passes + 1)); fi
}

# refuse_saying 'MESSAGE' args...: refused as above, and standard error says what was wrong
refuse_saying() {
    local want="$1" out status
    shift
    out=$("$cli" "$@" 2>"$work/err"); status=$?
    if [ "$status" -ne 2 ] || [ -n "$out" ]; then fail "refuse $* -> status $status, stdout '$out'"
    elif ! grep -qF -- "$want" "$work/err"; then fail "refuse $*: stderr '$(cat "$work/err")', want '$want'"
    else passes=$((passes + 1)); fi
}

start="4 4 4 4 4 4 4 4 4 4 4 4 0 0"

expect $'16807 16807\n282475249 15089\n1622650073 -21287\n984943658 3114\n1144108930 -18558' random --seed 1 --count 5
expect "2147484650 1002" random --seed 1003274921 --count 1
expect "" random --seed 5 --count 0

expect "4 4 0 5 5 5 5 4 4 4 4 4 0 0" play --rules standard --side 0 --place 2 --board "$start"
expect "illegal" play --rules standard --side 0 --place 0 --board "$start"
expect "0 0 0 0 0 0 0 0 0 4 4 4 7 0" play --rules standard --side 0 --place 5 --board "0 0 0 0 0 3 1 2 1 4 4 4 0 0"
expect "1 0 0 0 0 0 4 4 4 4 4 4 2 0" play --rules relay --side 0 --place 0 --board "2 1 0 0 0 0 4 4 4 4 4 4 0 0"
expect "illegal" play --rules relay --side 0 --place 1 --board "2 1 0 0 0 0 4 4 4 4 4 4 0 0"
expect "4 5 4 3 2 5 1 2 1 7 4 3 0 0" play --rules relay --side 0 --place 5 --board "4 5 4 3 2 5 1 2 1 7 4 3 0 0"
expect "4 3 2 1 5 6 3 4 3 2 3 3 0 0" play --rules relay --side 1 --place 4 --board "4 3 2 1 5 6 3 4 3 2 3 3 0 0"

expect "on" over --board "$start"
expect "over 0 3 0 0 0 0 0 0 0 0 0 0 0 0 0 15 0" over --board "3 0 0 0 0 0 0 0 0 0 0 0 12 0"
expect "over 255 1 1 0 0 0 0 0 0 0 0 0 0 0 0 24 24" over --board "1 0 0 0 0 0 1 0 0 0 0 0 23 23"

# Depth 1 from seed 1: two leaves, two draws (both -1); the biggest capture, place 5, scores 700 + 1.
expect "best 5 score 701 seed 282475249" search --rules standard --side 0 --depth 1 --seed 1 --board "0 0 0 0 2 3 1 2 1 4 4 4 0 0"
expect "best -1 score -32767 seed 9" search --rules relay --side 1 --depth 4 --seed 9 --board "3 2 0 0 0 0 1 1 0 1 0 1 0 0"
expect "best 1 score -10000 seed 16807" search --rules standard --side 0 --depth 1 --seed 1 --board "1 1 0 1 1 0 1 1 1 1 1 1 0 0"

for bad in "4 4 4 4 4 4 4 4 4 4 4 4 0" "4 4 4 4 4 4 4 4 4 4 4 4 0 0 0" "4  4 4 4 4 4 4 4 4 4 4 4 0 0" \
           "49 0 0 0 0 0 0 0 0 0 0 0 0 0" "5 4 4 4 4 4 4 4 4 4 4 4 0 0" "-1 4 4 4 4 4 4 4 4 4 4 4 0 0" \
           "4 4 4 4 4 4 4 4 4 4 4 4 0 x" " 4 4 4 4 4 4 4 4 4 4 4 4 0 0" ""; do
    refuse over --board "$bad"
done
refuse play --rules standard --side 2 --place 0 --board "$start"
refuse play --rules standard --side 0 --place 6 --board "$start"
refuse play --rules classic --side 0 --place 0 --board "$start"
refuse play --rules standard --side 0 --board "$start"
refuse search --rules relay --side 0 --depth 1 --seed 1 --board "$start" --extra 1
refuse random --seed 4294967296 --count 1
refuse selfplay --rules standard --levels 0 4 --seed 1 --games 1
refuse frobnicate
refuse

# A search of no plies has no move to give; an option short of its values says what it takes, even
# when another option follows it.
refuse_saying "--depth must be a number in 1..12" search --rules standard --side 0 --depth 0 --seed 1 --board "$start"
refuse_saying "--levels takes two levels, L0 L1" selfplay --rules standard --levels 0 --seed 1 --games 1
refuse_saying "--levels takes two levels, L0 L1" selfplay --rules standard --seed 1 --games 1 --levels 0
refuse_saying "--seed takes a seed" random --count 1 --seed
refuse_saying "--board takes a board" over --board --board

for command in "" random play over search selfplay; do
    help=$("$cli" $command --help 2>/dev/null) || fail "$command --help status"
    [ -n "$help" ] || fail "$command --help prints nothing"
done

# selfplay: deterministic, and its move lists replay through 'play' to the final stores it reports.
for rules in standard relay; do
    games=$("$cli" selfplay --rules "$rules" --levels 0 1 --seed 42 --games 4) || fail "selfplay $rules status"
    again=$("$cli" selfplay --rules "$rules" --levels 0 1 --seed 42 --games 4)
    [ "$games" = "$again" ] || fail "selfplay $rules is not deterministic"
    while read -r _ index _ moves _ result _ s0 s1; do
        board="$start"
        side=$(( index % 2 == 1 ? 0 : 1 ))
        for ((i = 0; i < ${#moves}; i++)); do
            letter=${moves:i:1}
            if [ "$letter" != "-" ]; then
                pit=$(( $(printf '%d' "'$letter") - 65 ))
                [ $(( pit / 6 )) -eq "$side" ] || fail "game $index move $i: pit $pit is not side $side's"
                board=$("$cli" play --rules "$rules" --side "$side" --place $(( pit % 6 )) --board "$board")
                [ "$board" != illegal ] || { fail "game $index move $i ($letter) is illegal"; break; }
            fi
            side=$(( 1 - side ))
        done
        final=$("$cli" over --board "$board")
        want="over $result"
        [ "${final% * * * * * * * * * * * * * *}" != "$final" ] || fail "game $index does not end"
        read -r _ r _ _ rest <<< "$final"
        set -- $rest
        if [ "$r" != "$result" ] || [ "${13}" != "$s0" ] || [ "${14}" != "$s1" ]; then
            fail "$rules game $index: replay gives '$final', selfplay said result $result stores $s0 $s1"
        else passes=$((passes + 1)); fi
    done <<< "$games"
done

# --timing plays the same games and ends each line with the slowest search of each side.
plain=$("$cli" selfplay --rules relay --levels 1 2 --seed 5 --games 2)
timed=$("$cli" selfplay --rules relay --levels 1 2 --seed 5 --games 2 --timing)
[ "$(sed 's/ slowest [0-9.]* [0-9.]*$//' <<< "$timed")" = "$plain" ] || fail "--timing changed the games: $timed"
[ "$(grep -c ' slowest [0-9]*\.[0-9] [0-9]*\.[0-9]$' <<< "$timed")" = 2 ] || fail "--timing lines: $timed"
refuse_saying "option --timing given twice" selfplay --rules relay --levels 1 2 --seed 5 --games 1 --timing --timing

echo "tolka-cli: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
