#!/usr/bin/env bash
# qiva-demo's Dialogs menu, headless, end to end: the alert answered by Return, by Escape and by a
# click on its Cancel button; the dialog of every item kind typed into, tabbed through, its check box
# toggled, a radio button chosen and its scroll bar stepped by arrow and by page, then OK. Checked
# through the dump lines taken inside the modal loops and the demo's own report on standard output.
set -euo pipefail
demo=$1
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"

# ditem N DUMP: the item's dump line.
ditem() { grep "^ditem $1 " "$2" || fail "no item $1 in $2: $(cat "$2")"; }

# The alert (340 × 120) and the dialog (400 × 270) are centred below the 20-pixel menu bar of the
# 640 × 450 screen: the dialog's content starts at 120, 100, so its items are 120, 100 further on
# than in demo.qrs. The first wait lets every window draw.
cat > run.txt <<'SCRIPT'
wait 10
key ctrl+1
wait 5
dump alert.dump
key return
wait 2
key ctrl+1
wait 2
key escape
wait 2
key ctrl+1
wait 2
click 347 271
wait 2
key ctrl+2
wait 5
dump open.dump
text Ada
key tab
text Lyon
click 150 180
click 150 245
click 372 278
click 372 278
click 320 278
wait 2
dump done.dump
shot done.png
key return
wait 5
dump after.dump
SCRIPT
"$demo" --script run.txt > out.txt 2> err.txt || fail "demo run: status $? $(cat err.txt)"

grep -qx 'dialog 128 kind alert' alert.dump || fail "alert: $(cat alert.dump)"
ditem 1 alert.dump | grep -qx 'ditem 1 type 4 rect 400 263 475 283 enabled 1 visible 1 value 0 text "OK"' ||
    fail "alert's OK: $(ditem 1 alert.dump)"
ditem 3 alert.dump | grep -q 'text "An alert of the QIVA demo. Return chooses OK and Escape Cancel."$' ||
    fail "ParamText: $(ditem 3 alert.dump)"
ditem 4 alert.dump | grep -q '^ditem 4 type 32 rect 170 185 202 217 ' || fail "note icon: $(ditem 4 alert.dump)"

grep -qx 'dialog 129 kind modal' open.dump || fail "dialog: $(cat open.dump)"
ditem 7 open.dump | grep -qx 'ditem 7 type 5 rect 132 172 300 188 enabled 1 visible 1 value 0 text "Sound"' ||
    fail "check box: $(ditem 7 open.dump)"
ditem 11 open.dump | grep -q '^ditem 11 type 7 rect 132 270 380 286 .* value 5 ' || fail "scroll bar: $(ditem 11 open.dump)"
grep -q '^te 0 text "QIVA" sel 0 4 .* active 1$' open.dump || fail "the first field active: $(grep '^te' open.dump)"

ditem 4 done.dump | grep -q 'text "Ada"$' || fail "typed: $(ditem 4 done.dump)"
ditem 6 done.dump | grep -q 'text "Lyon"$' || fail "after Tab: $(ditem 6 done.dump)"
grep -q '^te 0 text "Lyon" sel 4 4 .* view 220 142 380 158 active 1$' done.dump ||
    fail "the second field active: $(grep '^te' done.dump)"
ditem 7 done.dump | grep -q ' value 1 ' || fail "toggled: $(ditem 7 done.dump)"
ditem 8 done.dump | grep -q ' value 0 ' || fail "radio left: $(ditem 8 done.dump)"
ditem 10 done.dump | grep -q ' value 1 ' || fail "radio chosen: $(ditem 10 done.dump)"
ditem 11 done.dump | grep -q ' value 12 ' || fail "stepped 5 + 1 + 1 + 5: $(ditem 11 done.dump)"
! grep -q '^dialog ' after.dump || fail "the dialog stayed: $(grep '^dialog' after.dump)"

expected='choice 150 1
alert 128 1
choice 150 1
alert 128 2
choice 150 1
alert 128 2
choice 150 2
dialog 129 1
value 1 0 "OK"
value 2 0 "Cancel"
value 3 0 "Name"
value 4 0 "Ada"
value 5 0 "Town"
value 6 0 "Lyon"
value 7 1 "Sound"
value 8 0 "Slow"
value 9 0 "Medium"
value 10 1 "Fast"
value 11 12 ""
value 12 0 ""
value 13 0 ""'
[ "$(cat out.txt)" = "$expected" ] || fail "output: $(cat out.txt)"
[ -s done.png ] || fail "no screenshot"
echo ok
