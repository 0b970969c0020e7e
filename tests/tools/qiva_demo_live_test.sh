#!/usr/bin/env bash
# qiva-demo driven live through a pipe, as another program drives a run: each "dump -" is answered
# on standard output, ending with "end", before the next line is sent; the end of the input ends the
# run cleanly.
set -euo pipefail
demo=$1
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"

coproc DEMO { "$demo" --headless --script - 2>"$work/err"; }
# Bash forgets the coprocess's variables once it has ended, which may be before the last wait.
pid=$DEMO_PID
to=${DEMO[1]}
from=${DEMO[0]}

# Reads the reply to one dump: the lines up to "end", within 30 seconds each.
read_dump() {
    local line reply=""
    while IFS= read -r -t 30 line <&"$from"; do
        reply+="$line"$'\n'
        [ "$line" = end ] && { printf '%s' "$reply"; return 0; }
    done
    fail "no complete dump: [$reply] $(cat "$work/err")"
}

echo "dump -" >&"$to"
first=$(read_dump)
grep -qx 'screen 640 450' <<< "$first" || fail "no screen line in: $first"
[ "$(tail -1 <<< "$first")" = end ] || fail "the dump does not end with end: $first"

# The program is waiting: what is sent next is run, and a second dump follows it.
printf 'click 200 150\nkey x\ndump -\n' >&"$to"
second=$(read_dump)
grep -qx 'screen 640 450' <<< "$second" || fail "second dump: $second"

exec {to}>&-
status=0
wait "$pid" || status=$?
[ $status -eq 0 ] || fail "the end of the input: status $status $(cat "$work/err")"
