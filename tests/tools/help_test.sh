#!/usr/bin/env bash
# Every program answers --help with its usage on standard output and status 0, without a display: no
# window is opened, no settings file is made and nothing is read from standard input.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER QIVA_BACKEND
for program in "$@"; do
    name=$(basename "$program")
    status=0
    timeout 20 "$program" --help > "$work/out" 2> "$work/err" < /dev/null || status=$?
    [ $status -eq 0 ] || fail "$name --help: status $status $(cat "$work/err")"
    head -1 "$work/out" | grep -q '^usage:' || fail "$name --help: no usage line in $(head -3 "$work/out")"
    grep -q "$name" "$work/out" || fail "$name --help does not name the program"
done
[ ! -e "$work/config/qiva" ] || fail "--help made the settings folder"
