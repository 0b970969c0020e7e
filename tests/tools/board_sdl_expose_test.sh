#!/usr/bin/env bash
# The hand's animation in a real window under Xvfb: while moves are animated the window is moved,
# then covered by another window and uncovered. It must follow, show the board again where it was
# covered while the hand is still travelling, and end on its own once its moves are played.
set -euo pipefail
run=$1
for tool in Xvfb xdotool import display convert; do
    command -v "$tool" > /dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run SDL_RENDER_VSYNC=0 QIVA_SCALE=1
export SDL_AUDIODRIVER=none BOARD_RUN_SILENT=1 BOARD_RUN_MOVES=6
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
mkdir -m 700 "$work/run"
# The cover is a colour the board never shows.
convert -size 300x200 xc:magenta "$work/cover.png"

cat > "$work/inner.sh" <<'INNER'
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$WORK"
"$RUN" > out 2> err &
pid=$!
cover=""
trap 'kill -9 "$pid" $cover 2>/dev/null || true' EXIT
window() { { xdotool search --onlyvisible --name '^BoardRun$' 2>/dev/null || true; } | tail -1; }
# The hand's calibration ends before the first animated move.
for _ in $(seq 1 200); do
    grep -q '^calibration:' out 2>/dev/null && [ -n "$(window)" ] && break
    sleep 0.1
done
grep -q '^calibration:' out || fail "no calibration: $(cat err)"
sleep 0.5

xdotool windowmove --sync "$(window)" 180 120 2>/dev/null || xdotool windowmove "$(window)" 180 120
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$(window)")"
[ "$X" -ge 170 ] && [ "$X" -le 200 ] && [ "$Y" -ge 110 ] && [ "$Y" -le 160 ] || fail "the window did not move: $X,$Y"

# Covered in the middle of the board, then uncovered.
display -geometry +$((X + 170))+$((Y + 120)) -title cover cover.png &
cover=$!
sleep 1.5
kill "$cover"
wait "$cover" 2>/dev/null || true
cover=""
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the moves ended before the check: make them longer"
import -window root shot.png
left=$(convert shot.png -crop 300x200+$((X + 170))+$((Y + 120)) +repage -fill black +opaque magenta \
    -fill white -opaque magenta -format '%[fx:int(mean*60000)]' info:)
[ "$left" -le 600 ] || fail "$left of 60000 covered pixels still show the cover after it went"

for _ in $(seq 1 600); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the moves never ended"
wait "$pid" || fail "board-run status $?: $(cat err)"
grep -q 'moves in' out || fail "no figures: $(cat out)"
INNER
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_server.sh"
start_xvfb "$work"
DISPLAY=$display RUN=$run WORK=$work bash "$work/inner.sh"
echo OK
