#!/usr/bin/env bash
# Figures of the sowing animation in a real window under Xvfb, at scale 1 and 3: frames per second and
# the CPU time of the process while animated moves play (board-run measures both itself).
# usage: bench/board_figures.sh build/bench/board-run
set -euo pipefail
run=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
for scale in 1 3; do
    echo "scale $scale:"
    XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run SDL_AUDIODRIVER=dummy SDL_RENDER_VSYNC=0 \
        xvfb-run -a -s "-screen 0 2048x1400x24" "$run" --scale "$scale"
done
