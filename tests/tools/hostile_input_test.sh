#!/usr/bin/env bash
# Every tool and sub-command that reads a file, given the wrong thing in the wrong place: a missing
# file, a folder, an empty file, a truncated file, a device that never ends, an output in a missing
# folder and an output onto the input. Each case must end (no hang) with its status, a message on
# standard error that names the file, and every input file as it was.
# usage: hostile_input_test.sh QIVA-RSRC QIVA-PICT QIVA-DRAW QIVA-DEMO
set -u
rsrc=$1 pict=$2 draw=$3 demo=$4
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# One good input of each kind, made by the tools themselves.
mkdir "$work/in" "$work/folder"
cat > "$work/in/good.qrs" <<'SRC'
resource 'STR#' 128 name "Messages" { string "Bonjour" string "Fin" }
resource 'PICT' 5 { hex "0011 02FF" }
SRC
printf 'PenSize 3 3\nForeColor redColor\nFrameRect 10 10 90 50\nNewRgn r\nRectRgn r 1 1 13 11\nPaintRgn r\n' > "$work/in/good.qd"
printf 'wait 1\nclick 20 20\nkey q\n' > "$work/in/good.txt"
"$rsrc" build "$work/in/good.qrs" -o "$work/in/good.rsr" &&
    "$rsrc" export "$work/in/good.rsr" -o "$work/in/good.classic" &&
    "$draw" "$work/in/good.qd" -o "$work/in/good.png" --size 100 60 &&
    "$pict" from-png "$work/in/good.png" -o "$work/in/good.pict" || { echo "FAIL: cannot make the inputs"; exit 1; }
: > "$work/in/empty"
for f in good.qrs good.rsr good.classic good.qd good.png good.pict good.txt; do
    head -c $(($(stat -c %s "$work/in/$f") / 2)) "$work/in/$f" > "$work/in/half.${f#good.}"
done
checksums() { (cd "$work/in" && sha1sum ./*); }
before=$(checksums)

# command name | command line with IN (the input) and OUT (the output; empty when the command writes none)
commands=(
    "rsrc-build|$rsrc build IN -o OUT|qrs"
    "rsrc-dump|$rsrc dump IN|rsr"
    "rsrc-dump-classic|$rsrc dump --classic IN|classic"
    "rsrc-import|$rsrc import IN -o OUT|classic"
    "rsrc-export|$rsrc export IN -o OUT|rsr"
    "pict-render|$pict render IN -o OUT|pict"
    "pict-from-png|$pict from-png IN -o OUT|png"
    "draw|$draw IN -o OUT|qd"
    "demo|$demo --script IN|txt"
)
# case | input | output | expected status, per command in the order above ('-' when it does not apply)
# An empty source, script or event script is a valid one; half a script fails at its cut line. The
# demo's event script belongs to its command line: every problem with it is a usage error, status 2.
cases=(
    "missing|$work/in/none|$work/out/x|1 1 1 1 1 1 1 1 2"
    "folder|$work/folder|$work/out/x|1 1 1 1 1 1 1 1 2"
    "empty|$work/in/empty|$work/out/x|0 1 1 1 1 1 1 0 0"
    "truncated|$work/in/half.EXT|$work/out/x|1 1 1 1 1 1 1 2 2"
    "endless|/dev/zero|$work/out/x|1 1 1 1 1 1 1 1 2"
    "missing-folder|$work/in/good.EXT|$work/nowhere/x|1 - - 1 1 1 1 1 -"
    "onto-input|$work/in/good.EXT|$work/in/good.EXT|2 - - 2 2 2 2 2 -"
)
# What stderr must say, per case (besides naming the file).
declare -A says=(
    [missing]="no such file" [folder]="is a folder" [endless]="does not end within"
    [missing-folder]="does not exist" [onto-input]="give another output"
)

mkdir "$work/out"
for c in "${cases[@]}"; do
    IFS='|' read -r name input output statuses <<< "$c"
    read -r -a expected <<< "$statuses"
    i=0
    for command in "${commands[@]}"; do
        IFS='|' read -r label line ext <<< "$command"
        want=${expected[$i]}
        i=$((i + 1))
        [ "$want" = "-" ] && continue
        in=${input//EXT/$ext}
        out=${output//EXT/$ext}
        rm -f "$work/out/x"
        # The output, when the command writes one, must be in a place the case means.
        run=${line//IN/$in}
        [[ $line == *OUT* ]] || out=""
        run=${run//OUT/$out}
        (cd "$work" && timeout 20 $run > "$work/stdout" 2> "$work/stderr")
        status=$?
        where="$label × $name"
        if [ "$status" -eq 124 ]; then fail "$where: did not end"; continue; fi
        [ "$status" -eq "$want" ] || fail "$where: status $status, not $want ($(head -c 300 "$work/stderr"))"
        if [ "$want" -ne 0 ]; then
            named=$in
            [ "$name" = "missing-folder" ] && named=$work/nowhere
            [ "$name" = "onto-input" ] && named=$out
            grep -qF -- "$named" "$work/stderr" || fail "$where: stderr does not name $named: $(head -c 300 "$work/stderr")"
            if [ -n "${says[$name]:-}" ] && ! grep -qF -- "${says[$name]}" "$work/stderr"; then
                fail "$where: stderr does not say '${says[$name]}': $(head -c 300 "$work/stderr")"
            fi
            [ -z "$out" ] || [ "$name" = "onto-input" ] || [ ! -e "$out" ] || fail "$where: wrote $out after failing"
        fi
        if [ "$(checksums)" != "$before" ]; then
            fail "$where: an input file changed"
            before=$(checksums)
        fi
    done
done

# Failures that must not pass for success: output that cannot be written (standard output on a full
# device too), unknown options, a headless run that would wait forever, two outputs in one file.
# status | what stderr says | command line (run in $work)
honesty=(
    "1|cannot write to standard output|$rsrc dump in/good.rsr"
    "1|cannot write to standard output|$rsrc --help"
    "1|cannot write to standard output|$pict --help"
    "1|cannot write to standard output|$draw in/good.qd -o out/r.png --regions"
    "1|/dev/full: cannot be written: No space left on device|$rsrc build in/good.qrs -o /dev/full"
    "1|/dev/full: cannot be written: No space left on device|$pict from-png in/good.png -o /dev/full"
    "1|/dev/full: cannot be written: No space left on device|$draw in/good.qd -o /dev/full"
    "2|unknown option '--frobnicate'|$demo --frobnicate"
    "2|a headless run needs --script FILE|$demo --headless"
    "2|-o and --indices name the same file|$draw in/good.qd -o out/same.png --indices out/same.png"
    "2|-o and --indices name the same file|$pict render in/good.pict -o out/same.png --indices out/same.png"
)
for h in "${honesty[@]}"; do
    IFS='|' read -r want phrase line <<< "$h"
    (cd "$work" && timeout 20 $line > /dev/full 2> "$work/stderr")
    status=$?
    [ "$status" -eq "$want" ] || fail "'$line': status $status, not $want ($(head -c 300 "$work/stderr"))"
    grep -qF -- "$phrase" "$work/stderr" || fail "'$line': stderr does not say '$phrase': $(head -c 300 "$work/stderr")"
done
(cd "$work" && QIVA_BACKEND=headless timeout 20 "$demo" 2> "$work/stderr")
[ $? -eq 2 ] || fail "QIVA_BACKEND=headless without a script: not status 2"
[ -c /dev/full ] || fail "/dev/full is no longer a device"

# An output given as a symbolic link stays a link: its target gets the new contents.
mkdir "$work/real"
echo old > "$work/real/target.rsr"
ln -s ../real/target.rsr "$work/out/link.rsr"
"$rsrc" build "$work/in/good.qrs" -o "$work/out/link.rsr" || fail "build through a link: status $?"
[ -L "$work/out/link.rsr" ] || fail "the link given as output was replaced by a file"
cmp -s "$work/real/target.rsr" "$work/in/good.rsr" || fail "the link's target did not get the new contents"

# No temporary file is left anywhere.
leftovers=$(find "$work/in" "$work/out" "$work/real" -name '*.??????' | head -3)
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"
[ "$failures" -eq 0 ] && echo "hostile input: all passed"
exit $((failures > 0))
