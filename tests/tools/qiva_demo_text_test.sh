#!/usr/bin/env bash
# qiva-demo headless, the Text window end to end: accented text typed into the empty field, a word
# selected by a double click, cut with the Edit menu's command key and pasted at the end, the field's
# line of the state dump checked after each step.
set -euo pipefail
demo=$1
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"

field() { grep '^te 0 ' "$1" || fail "no te line in $1: $(cat "$1")"; }

# The field shows at 50 210 290 320 on the screen; a point just inside its top-left corner is the
# start of the text. Each dump comes after a short wait, in which the program takes the events queued
# before it.
cat > run.txt <<'SCRIPT'
wait 2
click 52 216
text mot déjà vu
wait 2
dump typed.dump
wait 60
click 52 216
click 52 216
wait 2
dump word.dump
key ctrl+x
wait 2
dump cut.dump
key end
text !
key ctrl+v
wait 2
dump pasted.dump
SCRIPT
"$demo" --script run.txt 2>err || fail "demo run: status $? $(cat err)"
field typed.dump | grep -q '^te 0 text "mot déjà vu" sel 11 11 caret [0-9]* [0-9]* lines 1 view 50 210 290 320 active 1$' ||
    fail "typed: $(field typed.dump)"
field word.dump | grep -q ' sel 0 3 ' || fail "double click: $(field word.dump)"
field cut.dump | grep -q '^te 0 text " déjà vu" sel 0 0 ' || fail "cut: $(field cut.dump)"
field pasted.dump | grep -q '^te 0 text " déjà vu!mot" sel 12 12 ' || fail "pasted: $(field pasted.dump)"
echo ok
