#!/usr/bin/env bash
# qiva-demo's windows, headless: "Two" dragged by its title bar (and shown unmoved in the middle of
# the drag), "One" brought forward by a click, then closed by its close box, "Two" becoming active.
set -euo pipefail
demo=$1
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"

# expect SHOT X Y R G B WHAT: each component within 16 of the colour wanted
# unlike SHOT X Y R G B WHAT: some component more than 48 away from the colour named
unlike() {
    local r g b
    IFS=, read -r r g b <<< "$(pixel "$1" "$2" "$3")"
    [ $((r > $4 ? r - $4 : $4 - r)) -gt 48 ] || [ $((g > $5 ? g - $5 : $5 - g)) -gt 48 ] ||
        [ $((b > $6 ? b - $6 : $6 - b)) -gt 48 ] || fail "$7: $1 at $2,$3 is $r,$g,$b"
}
expect() {
    local r g b
    IFS=, read -r r g b <<< "$(pixel "$1" "$2" "$3")"
    [ $((r > $4 ? r - $4 : $4 - r)) -le 16 ] && [ $((g > $5 ? g - $5 : $5 - g)) -le 16 ] &&
        [ $((b > $6 ? b - $6 : $6 - b)) -le 16 ] || fail "$7: $1 at $2,$3 is $r,$g,$b"
}

# One: content 340,60 - 560,200 (yellow); Two: content 420,140 - 620,280 (cyan), in front.
cat > run.txt <<'SCRIPT'
wait 2
shot start.png
dump start.txt
move 500 130
mousedown
move 490 125
dump middle.txt
shot middle.png
move 470 110
mouseup
wait 1
shot dragged.png
click 360 100
wait 1
shot front.png
click 348 50
wait 1
shot closed.png
dump closed.txt
key q
SCRIPT
"$demo" --script run.txt 2>err || fail "demo run: status $? $(cat err)"
for shot in start middle dragged front closed; do [ -f $shot.png ] || fail "no $shot.png"; done

# The dump lists the windows front to back; in the middle of the drag "Two" has not moved yet.
has() { grep -qxF "$2" "$1" || fail "$1 has no line [$2]: $(cat "$1")"; }
two='window 0 title "Two" kind 8 proc 0 refcon 0 visible 1 hilited 1'
has start.txt "$two content 420 140 620 280 struct 416 117 624 284"
has start.txt 'window 1 title "One" kind 8 proc 0 refcon 0 visible 1 hilited 0 content 340 60 560 200 struct 336 37 564 204'
has middle.txt "$two content 420 140 620 280 struct 416 117 624 284"
has closed.txt "$two content 390 120 590 260 struct 386 97 594 264"
# "One" is gone; "Two" and the Text window at the back remain.
[ "$(grep -c '^window ' closed.txt)" = 2 ] || fail "closed: $(cat closed.txt)"
! grep -q '^window .* title "One" ' closed.txt || fail "One still listed: $(cat closed.txt)"

expect start.png 450 150 0 255 255 "Two in front of One"
expect start.png 360 100 255 255 0 "One's content"
expect start.png 500 130 0 0 128 "Two's title bar, active"
expect start.png 450 45 128 128 128 "One's title bar, inactive"
expect start.png 320 300 255 255 255 "the background"

expect middle.png 600 250 0 255 255 "Two not moved in the middle of the drag"

# What a window uncovers is the desktop (its picture), neither the window nor the demo's white.
unlike dragged.png 600 250 0 255 255 "where Two was, not Two"
unlike dragged.png 600 250 255 255 255 "where Two was, not the demo's background"
expect dragged.png 395 250 0 255 255 "Two moved by -30,-20"
expect dragged.png 500 110 0 0 128 "Two's title bar moved"

expect front.png 450 150 255 255 0 "One brought forward"
expect front.png 450 45 0 0 128 "One's title bar, active"
expect front.png 580 110 128 128 128 "Two's title bar, inactive"
expect front.png 395 250 0 255 255 "Two's uncovered content"

expect closed.png 450 150 0 255 255 "Two uncovered where One was"
unlike closed.png 360 100 255 255 0 "where One was, not One"
expect closed.png 500 110 0 0 128 "Two active again"
echo OK
