#!/usr/bin/env bash
# `cpack -G DEB` from this build: a package named for Debian, in section games, depending on the
# libraries the program links and on the fonts, holding the installed tree under /usr.
set -euo pipefail
build=$1
has_program=$2
source "$(dirname "${BASH_SOURCE[0]}")/../tools/private_env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v dpkg-deb > /dev/null || { echo "no dpkg-deb: skipped"; exit 0; }
cd "$work"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > cpack.log 2>&1 || fail "cpack: $(cat cpack.log)"
deb=$(ls out/tolka_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no tolka_*.deb: $(ls out)"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
for d in fonts-liberation2 fonts-dejavu-core; do
    [[ $depends == *"$d"* ]] || fail "Depends lacks $d: $depends"
done
dpkg-deb -c "$deb" > contents.txt
for f in ./usr/share/tolka/TOLKA.RSR ./usr/share/applications/org.tolka.tolka.desktop \
    ./usr/share/metainfo/org.tolka.tolka.metainfo.xml ./usr/share/icons/hicolor/256x256/apps/org.tolka.tolka.png; do
    grep -q " $f\$" contents.txt || fail "$f not in the package"
done
if [ "$has_program" = 1 ]; then
    grep -q ' ./usr/bin/tolka$' contents.txt || fail "no /usr/bin/tolka in the package"
    [[ $depends == *libsdl2* ]] || fail "Depends lacks SDL: $depends"
fi
echo "package ok: $deb"
