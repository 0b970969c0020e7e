#!/usr/bin/env bash
# qiva-demo headless, driven by scripts: what a click and keys draw, the sound on S, the clean quit
# that leaves the statistics alone, script errors that name their line, and a WAV made into a 'snd ' by qiva-rsrc.
set -euo pipefail
demo=$1
rsrc=$2
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"

# near R G B PIXEL: each component within 16 of the palette colour wanted
near() {
    local r g b
    IFS=, read -r r g b <<< "$4"
    [ $((r > $1 ? r - $1 : $1 - r)) -le 16 ] && [ $((g > $2 ? g - $2 : $2 - g)) -le 16 ] &&
        [ $((b > $3 ? b - $3 : $3 - b)) -le 16 ]
}

cat > run.txt <<'SCRIPT'
# a click, a key, typed text, the sound key, then a shot and the quit key
wait 2
click 200 150
key x
text é
key s
expect-sound 1
move 10 10
shot shot.png
key q
SCRIPT
"$demo" --script run.txt 2>err || fail "demo run: status $? $(cat err)"
[ -f shot.png ] || fail "no shot"
[ "$(identify -format '%w %h' shot.png)" = "640 450" ] || fail "shot size $(identify -format '%w %h' shot.png)"
near 255 0 0 "$(pixel shot.png 200 150)" || fail "click not drawn: $(pixel shot.png 200 150)"
near 0 0 128 "$(pixel shot.png 14 420)" || fail "key not drawn: $(pixel shot.png 14 420)"
near 255 255 255 "$(pixel shot.png 320 300)" || fail "background: $(pixel shot.png 320 300)"
ini=$XDG_CONFIG_HOME/qiva/wqiva.ini
# A scripted run is not use: the statistics a person's runs keep are left as they were.
! grep -qsE '^(NbExec|NbCrash|Crash|Duree|Aire)=' "$ini" || fail "a headless run touched the statistics: $(cat "$ini")"

# The end of a script quits too; a failed expectation quits with status 1 and names its line.
printf 'wait 1\nexpect-sound 2\nclick 1 1\n' > bad.txt
set +e
"$demo" --headless --script bad.txt 2>err
status=$?
set -e
[ $status -eq 1 ] || fail "failed expectation: status $status"
grep -q 'script line 2: expected 2 sounds, 0 were played' err || fail "failed expectation: $(cat err)"

printf 'click 1 1\njump 3\n' > syntax.txt
set +e
"$demo" --script syntax.txt 2>err
status=$?
set -e
[ $status -eq 2 ] || fail "syntax error: status $status"
grep -q 'line 2: unknown command "jump"' err || fail "syntax error: $(cat err)"

# Without a display the window backend says so and ends, rather than running unseen.
set +e
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u QIVA_BACKEND timeout 20 "$demo" 2>err
status=$?
set -e
[ $status -eq 2 ] || fail "no display: status $status"
grep -q 'cannot open the display' err || fail "no display: $(cat err)"

# The speed test needs no script: eleven timed loops and their total, each a line, then the end.
"$demo" --headless --speed-test > speed.txt 2>err || fail "speed test: status $? $(cat err)"
[ "$(grep -c ' ticks$' speed.txt)" -eq 12 ] || fail "speed test lines: $(cat speed.txt)"
head -1 speed.txt | grep -qE '^10000 boucles a vide: [0-9]+\.[0-9]{2} ticks$' || fail "first loop: $(head -1 speed.txt)"
sed -n 11p speed.txt | grep -qE '^1000 Picts : [0-9]+\.[0-9]{2} ticks$' || fail "last loop: $(sed -n 11p speed.txt)"
tail -1 speed.txt | grep -qE '^Total [0-9]+\.[0-9]{2} ticks$' || fail "total: $(tail -1 speed.txt)"
awk '/ ticks$/ && !/^Total/ { sum += $(NF-1) } /^Total/ { total = $2 } END { d = sum - total; exit !(d < 0.05 && d > -0.05) }' \
    speed.txt || fail "the total is not the sum: $(cat speed.txt)"

# A WAV file becomes a 'snd ' resource.
printf 'RIFF\x28\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x11\x2b\x00\x00\x11\x2b\x00\x00\x01\x00\x08\x00data\x04\x00\x00\x00\x80\xff\x00\x80' > tone.wav
printf "resource 'snd ' 128 { from wav \"tone.wav\" }\n" > sounds.qrs
"$rsrc" build sounds.qrs -o SOUNDS.RSR 2>err || fail "qiva-rsrc from wav: $(cat err)"
"$rsrc" dump SOUNDS.RSR | grep -q "resource 'snd ' 128" || fail "no 'snd ' in the built file"
printf 'RIFF\x28\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x03\x00\x01\x00' > float.wav
printf "resource 'snd ' 129 { from wav \"float.wav\" }\n" > bad.qrs
if "$rsrc" build bad.qrs -o BAD.RSR 2>err; then fail "a float WAV was accepted"; fi
grep -q 'bad.qrs:1' err || fail "converter error without its line: $(cat err)"
echo OK
