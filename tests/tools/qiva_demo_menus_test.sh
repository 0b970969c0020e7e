#!/usr/bin/env bash
# qiva-demo's menus, headless: a menu pulled down, the mouse over to another title and back, an item
# chosen; the screen under the menus is exactly as before; a pop-up choice and two command keys, each
# choice written on standard output.
set -euo pipefail
demo=$1
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"

# Titles: Demo from x 10, Shapes from about 65, Options from about 135; items 16 pixels high from y 20.
# The first wait lets every window draw its contents through its update event.
cat > run.txt <<'SCRIPT'
wait 10
shot before.png
move 75 10
mousedown
move 75 60
wait 1
shot open.png
move 25 10
move 25 40
wait 1
shot other.png
move 75 10
move 75 28
mouseup
wait 2
shot after.png
move 500 70
mousedown
move 500 86
mouseup
wait 1
key ctrl+r
wait 1
key ctrl+q
SCRIPT
"$demo" --script run.txt > out.txt 2> err.txt || fail "demo run: status $? $(cat err.txt)"
expected=$'choice 129 1\nchoice 200 2\nchoice 129 2\nchoice 128 4'
[ "$(cat out.txt)" = "$expected" ] || fail "choices: $(cat out.txt)"

# Below the bar and above the status strip, the screen after the choice is the one before, pixel for
# pixel; while a menu was down it was not.
region() { convert "$1" -crop 640x406+0+20 +repage -depth 8 rgb:-; }
region before.png | cmp -s - <(region after.png) || fail "the screen under the menus changed"
if region before.png | cmp -s - <(region open.png); then fail "no menu was shown"; fi
if region open.png | cmp -s - <(region other.png); then fail "moving to another title showed the same menu"; fi
echo OK
