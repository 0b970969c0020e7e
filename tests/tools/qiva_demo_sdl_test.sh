#!/usr/bin/env bash
# qiva-demo in a real window under Xvfb: a click and a key sent with xdotool reach it through SDL,
# it draws them, a screenshot of the window shows them, and Q ends it cleanly.
set -euo pipefail
demo=$1
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run SDL_RENDER_VSYNC=0 QIVA_SCALE=1
# No sound device here: the demo must go on in silence.
export SDL_AUDIODRIVER=none
# Under the sanitizers: SDL's system libraries (D-Bus, the X and GL drivers) keep memory to the end of
# the process; the headless tests check our own leaks.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
mkdir -m 700 "$work/run"

cat > "$work/inner.sh" <<'INNER'
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
"$DEMO" > "$WORK/out" 2> "$WORK/err" &
pid=$!
# A failed step must not leave the demo running after its display has gone.
trap 'kill -9 "$pid" 2>/dev/null || true' EXIT
wid=""
for _ in $(seq 1 100); do
    wid=$(xdotool search --name '^QivaDemo$' 2>/dev/null | head -1) && [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] || fail "no window: $(cat "$WORK/err")"
# SDL may make the window again while it sets up its renderer: each step looks for the one shown now.
window() { { xdotool search --onlyvisible --name '^QivaDemo$' 2>/dev/null || true; } | tail -1; }
pixel() { convert "$WORK/shot.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
near() {
    local r g b
    IFS=, read -r r g b <<< "$4"
    [ $((r > $1 ? r - $1 : $1 - r)) -le 16 ] && [ $((g > $2 ? g - $2 : $2 - g)) -le 16 ] &&
        [ $((b > $3 ? b - $3 : $3 - b)) -le 16 ]
}
# shows R G B X Y: the window shows that colour at (X, Y) within 3 seconds (a loaded machine draws late).
shows() {
    for _ in $(seq 1 15); do
        wid=$(window)
        if [ -n "$wid" ] && import -window "$wid" "$WORK/shot.png" 2>/dev/null; then
            near "$1" "$2" "$3" "$(pixel "$4" "$5")" && return 0
        fi
        sleep 0.2
    done
    return 1
}
# The toolkit's start-up panel covers the middle of the screen for up to seven seconds first; the
# point looked at is clear of the demo's windows.
drawn=""
for _ in 1 2 3 4 5; do
    shows 255 255 255 200 360 && { drawn=yes; break; }
done
[ -n "$drawn" ] || fail "the window was never drawn"
xdotool windowfocus --sync "$wid" 2>/dev/null || true
# The demo empties its queue once it has drawn its window: an input sent before that is dropped, so
# an input that does not show is sent again, twice at most.
drawn=""
for _ in 1 2 3; do
    xdotool mousemove --window "$(window)" 200 150 click 1 2>/dev/null || true
    shows 255 0 0 200 150 && { drawn=yes; break; }
done
[ -n "$drawn" ] || fail "click not drawn: $(pixel 200 150)"
drawn=""
for _ in 1 2 3; do
    xdotool key --window "$(window)" x 2>/dev/null || true
    shows 0 0 128 14 420 && { drawn=yes; break; }
done
[ -n "$drawn" ] || fail "key not drawn: $(pixel 14 420)"
xdotool key --window "$(window)" q
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then kill "$pid"; fail "Q did not end the demo"; fi
wait "$pid" || fail "demo status $?: $(cat "$WORK/err")"
grep -q '^Crash=0' "$XDG_CONFIG_HOME/qiva/wqiva.ini" || fail "no clean close recorded"
INNER
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_server.sh"
start_xvfb "$work"
DISPLAY=$display DEMO=$demo WORK=$work bash "$work/inner.sh"
echo OK
