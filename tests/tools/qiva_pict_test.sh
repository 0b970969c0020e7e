#!/usr/bin/env bash
# qiva-pict and the picture calls of qiva-draw as their users run them: a recording played back gives
# the script's own pixels, a PNG made into a picture renders to the same indices, and broken
# pictures are refused with status 1 and the toolkit's message.
set -u
draw="$1"
pict="$2"
rsrc="$3"
dir="$(cd "$(dirname "$0")" && pwd)/qiva_pict"
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The script drawn directly, and recorded into a picture saved to a file.
"$draw" "$dir/shapes.qd" -o "$work/direct.png" --size 48 32 --indices "$work/direct.txt" || fail "direct draw"
{
    echo "OpenPicture p 0 0 48 32"
    cat "$dir/shapes.qd"
    echo "ClosePicture"
    echo "SavePicture p $work/p.pict"
} >"$work/record.qd"
"$draw" "$work/record.qd" -o "$work/record.png" --size 48 32 --indices "$work/record.txt" || fail "recording"
grep -qv '^226\( 226\)*$' "$work/record.txt" && fail "recording drew on the canvas"

# Played back at its own size by qiva-pict and by qiva-draw.
"$pict" render "$work/p.pict" -o "$work/p.png" --indices "$work/p.txt" || fail "render: status $?"
cmp -s "$work/direct.txt" "$work/p.txt" || fail "the recording played back differs from the script"
printf 'LoadPicture q %s\nDrawPicture q 0 0 48 32\n' "$work/p.pict" >"$work/play.qd"
"$draw" "$work/play.qd" -o "$work/play.png" --size 48 32 --indices "$work/play.txt" || fail "qiva-draw play"
cmp -s "$work/direct.txt" "$work/play.txt" || fail "DrawPicture in qiva-draw differs from the script"

# Twice the size: every other row and column of the doubled picture is the original.
"$pict" render "$work/p.pict" -o "$work/p2.png" --size 96 64 --indices "$work/p2.txt" || fail "render --size"
[ "$(wc -l <"$work/p2.txt")" -eq 64 ] || fail "render --size: not 64 rows"

# A file as saved on disk, behind 512 bytes of header, renders the same.
{ head -c 512 /dev/zero; cat "$work/p.pict"; } >"$work/disk.pict"
"$pict" render "$work/disk.pict" -o "$work/disk.png" --indices "$work/disk.txt" || fail "render with header"
cmp -s "$work/direct.txt" "$work/disk.txt" || fail "the 512-byte header changes the picture"

# A PNG made into a picture, with and without dithering, renders to the same indices: its colours
# are the palette's own.
for opt in "" --no-dither; do
    "$pict" from-png "$work/direct.png" -o "$work/f.pict" $opt || fail "from-png $opt"
    "$pict" render "$work/f.pict" -o "$work/f.png" --indices "$work/f.txt" || fail "render from-png $opt"
    cmp -s "$work/direct.txt" "$work/f.txt" || fail "from-png $opt: the indices differ"
done
"$pict" from-png "$work/direct.png" -o "$work/m.pict" --mask || fail "from-png --mask"
"$pict" render "$work/m.pict" -o "$work/m.png" --indices "$work/m.txt" || fail "render the mask"
[ "$(tr ' ' '\n' <"$work/m.txt" | sort -u | tr '\n' ' ')" = "11 226 " ] || fail "the mask is not black and white"

# The same conversion as a source directive of qiva-rsrc, with its options.
printf "resource 'PICT' 100 { from png \"%s\" dither no }\nresource 'PICT' 101 { from png \"%s\" depth 1 }\n" \
    "$work/direct.png" "$work/direct.png" >"$work/pictures.qrs"
"$rsrc" build "$work/pictures.qrs" -o "$work/P.RSR" 2>"$work/err" || fail "qiva-rsrc from png: $(cat "$work/err")"
[ "$("$rsrc" dump "$work/P.RSR" | grep -c "resource 'PICT'")" -eq 2 ] || fail "qiva-rsrc from png: two pictures"

# Pictures from another writer: ImageMagick's 8-bit PICT (PackBitsRect) and 32-bit PICT (DirectBitsRect,
# whose 192-byte packed rows carry one-byte lengths although rowBytes is 256). A red-to-blue gradient
# with a yellow disc: red (191) in the corner, yellow (221) in the middle.
convert -size 64x48 gradient:red-blue -fill yellow -draw "circle 32,24 32,10" "$work/im.png"
for depth in 8 32; do
    if [ "$depth" = 8 ]; then convert "$work/im.png" -type Palette "PICT:$work/im$depth.pict"
    else convert "$work/im.png" -type TrueColor "PICT:$work/im$depth.pict"; fi
    "$pict" render "$work/im$depth.pict" -o "$work/im$depth-out.png" --indices "$work/im$depth.txt" \
        || { fail "ImageMagick $depth-bit PICT: status $?"; continue; }
    corner=$(sed -n 1p "$work/im$depth.txt" | cut -d' ' -f1)
    middle=$(sed -n 25p "$work/im$depth.txt" | cut -d' ' -f33)
    [ "$corner $middle" = "191 221" ] || fail "ImageMagick $depth-bit PICT: corner $corner, middle $middle"
done

# refuse FILE MESSAGE: status 1, the message on stderr, no PNG.
refuse() {
    "$pict" render "$1" -o "$work/bad.png" 2>"$work/err"
    local status=$?
    [ "$status" -eq 1 ] || fail "refuse $(basename "$1"): status $status"
    grep -qF -- "$2" "$work/err" || fail "refuse $(basename "$1"): stderr '$(cat "$work/err")', want '$2'"
    [ ! -e "$work/bad.png" ] || fail "refuse $(basename "$1"): wrote a PNG"
    rm -f "$work/bad.png"
}
head -c 60 "$work/p.pict" >"$work/cut.pict"
refuse "$work/cut.pict" "tronque"
head -c 20 "$work/p.pict" >"$work/short.pict"
refuse "$work/short.pict" "plus courte que son en-tete"
printf '\x00\x10\x00\x00\x00\x00\x00\x00\x00\x00\x12\x34' >"$work/odd.pict"
refuse "$work/odd.pict" "type de PICT inconnu"
refuse "$work/nothing.pict" "$work/nothing.pict: no such file"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "qiva-pict: all passed"
