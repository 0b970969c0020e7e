#!/usr/bin/env bash
# tolka in a real window under Xvfb, played through SDL as a person would: Return through the splash
# and the language alert, Control+N and a click on a fist for the draw, then a click on a legal pit
# of the player's row each turn until the game ends, the summary closed with Return, the next draw
# cancelled and the program quit with Control+Q. The board is followed through the --trace file,
# which is replayed through tolka-cli at the end. Skipped (77) without Xvfb or xdotool.
set -euo pipefail
tolka=$1
cli=$2
for tool in Xvfb xdotool import; do
    command -v "$tool" > /dev/null || { echo "SKIP: no $tool"; exit 77; }
done
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/private_env.sh"
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$here/tolka_live.sh"
export SDL_RENDER_VSYNC=0 QIVA_SCALE=1 SDL_AUDIODRIVER=none
# Under the sanitizers: SDL's system libraries keep memory to the end of the process; the headless
# tests check our own leaks.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
# Relay rules, sound and hand off: a whole game in a few seconds of animation.
mkdir -p "$XDG_CONFIG_HOME/qiva"
printf 'TOLKA_1_0\n 1 1 0 0 1 0 1\n' > "$XDG_CONFIG_HOME/qiva/Tolka.cfg"
# The pit rectangles in the screen's pixels, as a headless run reports them: the window shows the
# screen at scale 1.
printf 'key return\nwait 2\ndump -\n' | "$tolka" --script - > "$work/pits.txt" 2>&1 || fail "headless dump"
cp "$work/pits.txt" "$work/dump.txt"

cat > "$work/inner.sh" <<'INNER'
set -euo pipefail
cd "$WORK"
"$TOLKA" --trace trace.txt > out.txt 2> err.txt &
pid=$!
trap 'kill -9 "$pid" 2>/dev/null || true' EXIT
window() { { xdotool search --onlyvisible --name '^Tolka' 2>/dev/null || true; } | tail -1; }
shot() { import -window "$(window)" "$1" 2>/dev/null; }
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
# Inputs go to the window shown now; one whose window went away meanwhile is sent again. Whether it
# took effect is for the caller to see on the screen or the trace.
key() {
    local try
    for try in 1 2 3; do xdotool key --window "$(window)" "$1" 2> /dev/null && return 0; sleep 0.2; done
    return 0
}
click() {
    local try
    for try in 1 2 3; do xdotool mousemove --window "$(window)" "$1" "$2" click 1 2> /dev/null && return 0; sleep 0.2; done
    return 0
}
# until SECONDS COMMAND...: polls every tenth of a second.
until_() {
    local tries=$(($1 * 10)); shift
    for ((; tries > 0; tries--)); do "$@" && return 0; sleep 0.1; done
    return 1
}
lines() { grep -c . trace.txt 2> /dev/null || true; }
# grey X Y: a dialog's grey face shows at (X, Y).
grey() {
    local r g b
    shot s.png && IFS=, read -r r g b <<< "$(pixel s.png "$1" "$2")" && [ "$r" = "$g" ] && [ "$g" = "$b" ] &&
        [ "$r" -ge 185 ] && [ "$r" -le 215 ]
}
until_ 10 eval 'test -n "$(window)"' || fail "no window: $(cat err.txt)"
xdotool windowfocus --sync "$(window)" 2> /dev/null || true
# front: the board window is in front (its title bar active).
front() { shot s.png && [ "$(pixel s.png 600 33)" = 0,0,128 ]; }
# again SECONDS ACTION TEST...: the action, made again (four times at most) until TEST holds within
# SECONDS: an input that comes while the program is still drawing its window may be lost.
again() {
    local seconds=$1 action=$2 try
    shift 2
    for try in 1 2 3 4; do
        eval "$action"
        until_ "$seconds" "$@" && return 0
    done
    return 1
}
# The splash takes any key, the language alert Return for French; then the board is in front.
until_ 10 shot s.png || fail "no screenshot"
again 3 'key Return' front || fail "the splash and the language alert did not give way to the board"
again 3 'key ctrl+n' grey 170 320 || fail "no who-starts dialog"
# The fist clicked shows the draw for two seconds before the dialog goes.
again 5 'click 256 245' front || fail "the who-starts dialog stayed"
# The draw's result stays two seconds and the seeds are laid out for two more (a pause for each pit
# with the sound off); the computer's first move, if it starts, is on the trace a little later.
until_ 8 eval '[ "$(lines)" -gt 0 ]' || true
for ((turn = 0; turn < 150; turn++)); do
    grep -q '^over' trace.txt 2> /dev/null && break
    # The computer's move or pass is on the trace once made; with no line yet the player starts.
    last=$(tail -1 trace.txt 2> /dev/null || true)
    if [[ $last == "move 0"* ]]; then
        until_ 20 eval '[[ "$(tail -1 trace.txt)" != "move 0"* ]]' || fail "the computer did not answer: $last"
        continue
    fi
    board=$(grep '^move' trace.txt 2> /dev/null | tail -1 | cut -d' ' -f4- || true)
    board=${board:-4 4 4 4 4 4 4 4 4 4 4 4 0 0}
    moves=($(legal relay 0 "$board"))
    [ ${#moves[@]} -gt 0 ] || { sleep 0.5; continue; }
    place=${moves[RANDOM % ${#moves[@]}]}
    before=$(lines)
    click $(centre "^pit $place ")
    # A click made while the computer still sows waits for the player's turn, and may then find
    # another board: a click that plays nothing is made again from the board as it is.
    until_ 10 eval '[ "$(lines)" -gt "$before" ]' || echo "turn $turn: pit $place played nothing"
done
grep -q '^over' trace.txt || fail "the game did not end: $(cat trace.txt)"
# The summary (wider than the draw's dialog: grey at 100, 320), closed with Return once its rows
# have counted up; then the next draw, cancelled with Return; then no game is on and Control+Q ends
# the program at once.
until_ 15 grey 100 320 || fail "no summary"
until_ 20 eval 'key Return; sleep 0.5; ! grey 100 320' || fail "the summary stayed"
until_ 10 grey 170 320 || fail "no new draw"
again 3 'key Return' front || fail "the draw stayed"
key ctrl+q
until_ 10 eval '! kill -0 "$pid" 2> /dev/null' || fail "Control+Q did not end the game"
wait "$pid" || fail "status $?: $(cat err.txt)"
INNER

source "$(dirname "${BASH_SOURCE[0]}")/xvfb_server.sh"
start_xvfb "$work"
export -f fail legal centre
DISPLAY=$display TOLKA=$tolka WORK=$work cli=$cli work=$work bash "$work/inner.sh"
check_trace relay "$work/trace.txt"
[ "$(grep -c '^move 0' "$work/trace.txt")" -ge 3 ] || fail "too short a game: $(cat "$work/trace.txt")"
grep -q '^TOLKA_1_0' "$XDG_CONFIG_HOME/qiva/Tolka.cfg" || fail "no settings written"
echo OK
