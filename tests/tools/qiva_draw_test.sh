#!/usr/bin/env bash
# qiva-draw as its users run it: every golden script gives exactly its expected index dump and a
# PNG; bad scripts stop at their line with status 2.
set -u
tool="$1"
dir="$(cd "$(dirname "$0")" && pwd)/qiva_draw"
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for script in "$dir"/*.qd; do
    name=$(basename "$script" .qd)
    # The first line "#! ARGS" holds the script's command-line options (its size).
    read -r -a args <<<"$(head -1 "$script" | sed -n 's/^#!//p')"
    if ! "$tool" "$script" -o "$work/$name.png" "${args[@]}" --indices "$work/$name.txt" >"$work/$name.out" 2>"$work/err"; then
        fail "$name: status $? ($(cat "$work/err"))"
        continue
    fi
    diff -u "$dir/$name.txt" "$work/$name.txt" >"$work/diff" || fail "$name: indices differ"$'\n'"$(cat "$work/diff")"
    # A script run with --regions has its printed regions in NAME.regions.
    if [ -e "$dir/$name.regions" ]; then
        diff -u "$dir/$name.regions" "$work/$name.out" >"$work/diff" || fail "$name: regions differ"$'\n'"$(cat "$work/diff")"
    fi
    [ "$(head -c 8 "$work/$name.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "$name: no PNG"
done

# refuse 'SCRIPT TEXT' 'MESSAGE': status 2 and the message (with its line number) on stderr.
refuse() {
    printf '%b' "$1" >"$work/bad.qd"
    "$tool" "$work/bad.qd" -o "$work/bad.png" --size 8 8 2>"$work/err"
    local status=$?
    if [ "$status" -ne 2 ]; then fail "refuse '$1': status $status"; return; fi
    grep -qF -- "$2" "$work/err" || fail "refuse '$1': stderr '$(cat "$work/err")', want '$2'"
    [ ! -e "$work/bad.png" ] || fail "refuse '$1': wrote a PNG"
}
refuse 'PaintRect 0 0 4 4\nDrawOval 0 0 4 4\n' 'bad.qd:2: unknown call'
refuse '# comment\n\nPenSize 1\n' 'bad.qd:3: PenSize takes 2 arguments'
refuse 'PenSize 1 x\n' 'bad.qd:1: PenSize: bad argument'
refuse 'MoveTo 40000 0\n' 'bad.qd:1: MoveTo: bad argument'
refuse 'PenPat grey\n' "bad.qd:1: PenPat: bad argument 'grey'"
refuse 'PenMode patNone\n' 'bad.qd:1: PenMode: bad argument'
refuse 'RGBForeColor 0 0 70000\n' 'bad.qd:1: RGBForeColor: bad argument'
refuse 'CopyBits nowhere 0 0 1 1 0 0 1 1\n' "bad.qd:1: CopyBits: no buffer named 'nowhere'"
refuse 'NewBuffer main 4 4\n' "exists already"
refuse 'NewBuffer big 5000 4\n' 'bad.qd:1: NewBuffer: buffer size out of range'
refuse 'NewRgn r\nPaintRgn s\n' "bad.qd:2: PaintRgn: no region named 's'"
refuse 'NewRgn r\nNewRgn r\n' "bad.qd:2: NewRgn: a region named 'r' exists already"
refuse 'FramePoly p\n' "bad.qd:1: FramePoly: no polygon named 'p'"
refuse 'FrameArc 0 0 8 8 90\n' 'bad.qd:1: FrameArc takes 6 arguments'
refuse 'MoveTo 1 1\nDrawChar ab\n' 'bad.qd:2: DrawChar takes one character'
refuse 'TextFont 0x10000\n' 'bad.qd:1: TextFont: bad argument'
refuse 'DrawString \xe2\x98\x83\n' 'bad.qd:1: DrawString: a character has no place in the Macintosh character set'

# TextWidth prints the width of the rest of the line (here in the system font, from WINIT.RSR).
printf 'TextFont 0\nTextWidth Fichier \xc3\x89dition\nTextFont 3\nTextSize 0\nTextWidth \nTextWidth # not a comment\n' >"$work/width.qd"
width=$("$tool" "$work/width.qd" -o "$work/width.png" --size 8 8)
[ "$width" = $'100\n0\n109' ] || fail "TextWidth printed '$width'"

"$tool" "$work/none.qd" -o "$work/x.png" 2>"$work/err"; [ $? -eq 1 ] || fail "a missing script is not status 1"
grep -qF "$work/none.qd: no such file" "$work/err" || fail "a missing script is not named: $(cat "$work/err")"
"$tool" "$dir/lines.qd" 2>/dev/null; [ $? -eq 2 ] || fail "no -o is not status 2"
"$tool" "$dir/lines.qd" -o "$work/x.png" --size 0 5 2>/dev/null; [ $? -eq 2 ] || fail "--size 0 is not status 2"
"$tool" --help | grep -q "CopyBits SOURCE" || fail "--help lists no calls"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "qiva-draw: all passed"
