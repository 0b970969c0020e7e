#!/usr/bin/env bash
# `cmake --install` into a private prefix: every file where the desktop and the toolkit look for it,
# the desktop entry and the metainfo valid, the icons at their sizes; the installed program finds its
# files from its own place, with nothing in the current directory.
set -euo pipefail
build=$1
has_program=$2
source "$(dirname "${BASH_SOURCE[0]}")/../tools/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log" || fail "install: $(cat "$work/install.log")"

for f in WINIT.RSR WLANG.RSR TOLKA.RSR signatur.RSR wqiva.ini tolka.hlp tolka_gb.hlp; do
    [ -s "$prefix/share/tolka/$f" ] || fail "share/tolka/$f missing or empty"
done
desktop=$prefix/share/applications/org.tolka.tolka.desktop
metainfo=$prefix/share/metainfo/org.tolka.tolka.metainfo.xml
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no metainfo"
grep -q '^Exec=tolka$' "$desktop" || fail "the desktop entry does not start tolka"
! grep -q '@[A-Z_]*@' "$metainfo" || fail "unreplaced variable in the metainfo"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$metainfo" > "$work/as.log" 2>&1 || fail "appstreamcli: $(cat "$work/as.log")"
fi
for size in 48 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/org.tolka.tolka.png
    [ "$(identify -format '%w %h %[channels]' "$icon")" = "$size $size srgba" ] ||
        fail "icon $size: $(identify -format '%w %h %[channels]' "$icon")"
done

if [ "$has_program" = 1 ]; then
    program=$prefix/bin/tolka
    [ -x "$program" ] || fail "no bin/tolka"
    "$program" --help > "$work/help.txt" || fail "tolka --help"
    # Started from an empty folder: resources, help and default settings come from share/tolka.
    mkdir "$work/empty" && cd "$work/empty"
    printf 'key return\nwait 1\ndump state.txt\n' > "$work/run.txt"
    QIVA= "$program" --headless --script "$work/run.txt" 2> "$work/err" || fail "installed run: $(cat "$work/err")"
    grep -q '^game ' state.txt || fail "no game in the dump: $(cat state.txt)"
    [ -f "$XDG_CONFIG_HOME/qiva/wqiva.ini" ] || fail "the default settings were not copied from share/tolka"
fi
echo "install layout ok"
