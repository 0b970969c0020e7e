# Sourced by the tests that play tolka through a live script (--script -): the program reads each
# line from a pipe when it wants input, so a test sends a line, asks for a dump and reads it before it
# decides what to send next. Needs $tolka, $work (private_env.sh) and fail().

# tolka_start [OPTIONS]: starts the program reading its script from the test; answers the language
# alert with item 1 (French) unless LANGUAGE_KEY says otherwise.
tolka_start() {
    rm -f "$work/live.in" "$work/live.out"
    mkfifo "$work/live.in" "$work/live.out"
    timeout 300 "$tolka" --script - "$@" < "$work/live.in" > "$work/live.out" 2> "$work/live.err" &
    tolka_pid=$!
    exec {live_in}> "$work/live.in" {live_out}< "$work/live.out"
    [ -z "${LANGUAGE_KEY-return}" ] || say "key ${LANGUAGE_KEY-return}" "wait 2"
}

# tolka_end: closes the script (the program ends at its end) and gives the program's exit status;
# what it printed after the last dump read is in $work/rest.txt.
tolka_end() {
    exec {live_in}>&-
    cat <&$live_out > "$work/rest.txt"
    exec {live_out}<&-
    local status=0
    wait "$tolka_pid" || status=$?
    return $status
}

say() {
    printf '%s\n' "$@" >&$live_in || fail "the program stopped: $(cat "$work/live.err")"
}

# dump: a state dump into $work/dump.txt, and its game line parsed into g_rules, g_level, g_english,
# g_gameon, g_awaiting, g_turn, g_board (the 14 counts), g_message; g_dialog is the front dialog's
# number (empty for none), g_sound the last game sound and g_sounds their count.
dump() {
    say 'dump -'
    : > "$work/dump.txt"
    local line
    while :; do
        IFS= read -r -t 60 -u $live_out line || fail "no dump: $(cat "$work/live.err")"
        [ "$line" = end ] && break
        printf '%s\n' "$line" >> "$work/dump.txt"
    done
    g_dialog=$(sed -n 's/^dialog \(-\?[0-9]*\) kind .*/\1/p' "$work/dump.txt" | head -1)
    g_rules="" g_level="" g_english="" g_gameon="" g_awaiting="" g_turn="" g_board="" g_message=""
    g_sound="" g_sounds=""
    # Until the language is chosen the game has no line of its own.
    line=$(grep '^game ' "$work/dump.txt") || return 0
    local re='^game rules (-?[0-9]+) level (-?[0-9]+) english ([01]) gameon ([01]) awaiting ([01]) turn (-?[0-9]) board ([0-9 ]+) message "(.*)"$'
    [[ $line =~ $re ]] || fail "game line: $line"
    g_rules=${BASH_REMATCH[1]} g_level=${BASH_REMATCH[2]} g_english=${BASH_REMATCH[3]}
    g_gameon=${BASH_REMATCH[4]} g_awaiting=${BASH_REMATCH[5]} g_turn=${BASH_REMATCH[6]}
    g_board=${BASH_REMATCH[7]} g_message=${BASH_REMATCH[8]}
    read -r _ _ g_sound _ g_sounds < <(grep '^sound ' "$work/dump.txt")
}

# centre PATTERN: the centre "X Y" of the first rectangle on the dump line matching PATTERN, whose
# four numbers after "rect" are left, top, right and bottom.
centre() {
    local l t r b
    read -r l t r b < <(grep -m1 -- "$1" "$work/dump.txt" | sed 's/.* rect \(-\?[0-9]* -\?[0-9]* -\?[0-9]* -\?[0-9]*\).*/\1/')
    [ -n "$b" ] || fail "nothing matches '$1' in the dump: $(cat "$work/dump.txt")"
    echo "$(((l + r) / 2)) $(((t + b) / 2))"
}

click_pit() { dump; say "click $(centre "^pit $1 ")"; }
click_item() { dump; say "click $(centre "^ditem $1 ")"; }

# choose MENU ITEM: the item picked with the mouse from its menu (French or English number).
choose() {
    dump
    say "move $(centre "^menu $1 ")" mousedown 'wait 1'
    dump
    say "move $(centre "^item $1 $2 ")" mouseup 'wait 1'
}

# menu_item MENU ITEM: the item's line while its menu is held open ("item M I text ... enabled E mark ...").
menu_item() {
    dump
    say "move $(centre "^menu $1 ")" mousedown 'wait 1'
    dump
    grep "^item $1 $2 " "$work/dump.txt"
    say 'move 600 440' mouseup 'wait 1'
}

# settle: waits until the player is to move, the who-starts dialog is up, or no game is on; any other
# dialog (the end of a game) is answered with Return.
settle() {
    local i
    for ((i = 0; i < 400; i++)); do
        say 'wait 1'
        dump
        if [ -n "$g_dialog" ]; then
            [ "$g_dialog" = 2003 ] || [ "$g_dialog" = 12003 ] && return 0
            say 'key return'
            continue
        fi
        [ "$g_awaiting" = 1 ] || [ "$g_gameon" = 0 ] && return 0
    done
    fail "the game never settled: $(cat "$work/dump.txt")"
}

# start_game [ITEM]: new game; the who-starts dialog answered with item 3 (or ITEM), then settles.
start_game() {
    say 'key ctrl+n' 'wait 1'
    dump
    [ "$g_dialog" = 2003 ] || [ "$g_dialog" = 12003 ] || fail "no who-starts dialog: $(cat "$work/dump.txt")"
    click_item "${1:-3}"
    settle
}

# str INDEX [LIST]: a string of the game's 'STR#' 100 (or LIST) as the built TOLKA.RSR holds it.
str() {
    "$rsrc" dump "$(dirname "$tolka")/TOLKA.RSR" > "$work/rsrc.txt" 2> /dev/null || fail "qiva-rsrc dump"
    awk -v list="${2:-100}" -v want="$1" '
        $1 == "resource" && $2 == "'"'"'STR#'"'"'" { inside = ($3 == list); n = 0; next }
        inside && $1 == "string" { if (++n == want) { sub(/^[ \t]*string "/, ""); sub(/"[ \t]*(#.*)?$/, ""); print; exit } }
        inside && $1 == "}" { inside = 0 }' "$work/rsrc.txt"
}

# legal RULES SIDE BOARD: the row places (0-5) the engine ($cli) lets the side play.
legal() {
    local place
    for place in 0 1 2 3 4 5; do
        [ "$("$cli" play --rules "$1" --side "$2" --place "$place" --board "$3")" = illegal ] || printf '%s ' "$place"
    done
}

# check_trace RULES FILE: a game's trace replayed through the engine from the start board: each move
# applied to the board before it gives the board its line shows, a pass comes only from a side with
# no legal move, the sides take turns, and the game ends as the engine settles it.
check_trace() {
    local rules=$1 board="4 4 4 4 4 4 4 4 4 4 4 4 0 0" side="" lines=0 kind a b rest want result final
    while read -r kind a b rest; do
        lines=$((lines + 1))
        case $kind in
        move)
            [ -z "$side" ] || [ "$a" = "$side" ] || fail "$rules line $lines: side $a moved out of turn"
            want=$("$cli" play --rules "$rules" --side "$a" --place "$b" --board "$board")
            [ "$want" = "$rest" ] || fail "$rules line $lines: $a plays $b on $board: the engine gives $want, the game $rest"
            board=$rest side=$((1 - a)) ;;
        pass)
            [ -z "$side" ] || [ "$a" = "$side" ] || fail "$rules line $lines: side $a passed out of turn"
            [ -z "$(legal "$rules" "$a" "$board")" ] || fail "$rules line $lines: side $a passed with a move on $board"
            side=$((1 - a)) ;;
        over)
            read -r _ result _ _ final <<< "$("$cli" over --board "$board")"
            [ "$result $(cut -d' ' -f13- <<< "$final")" = "$a $b $rest" ] ||
                fail "$rules line $lines: the game says over $a $b $rest, the engine $("$cli" over --board "$board")" ;;
        *) fail "$rules line $lines: '$kind $a $b $rest'" ;;
        esac
    done < "$2"
    [ "$(tail -1 "$2" | cut -d' ' -f1)" = over ] || fail "$rules: the trace does not end with the game"
}
