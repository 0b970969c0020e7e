#!/usr/bin/env bash
# Figures of qiva-demo in a real window under Xvfb: the time from start to the first presented frame,
# and the CPU it uses while idle for 10 seconds (user + system time of the process, from /proc).
# usage: bench/qiva_demo_figures.sh build/tools/qiva-demo/qiva-demo
set -euo pipefail
demo=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
cat > "$work/inner.sh" <<'INNER'
set -euo pipefail
QIVA_REPORT_FIRST_FRAME=1 "$DEMO" 2> "$WORK/err" &
pid=$!
sleep 2
ticks=$(getconf CLK_TCK)
read -r -a before < "/proc/$pid/stat"
sleep 10
read -r -a after < "/proc/$pid/stat"
used=$(( (after[13] + after[14]) - (before[13] + before[14]) ))
kill "$pid"
wait "$pid" 2>/dev/null || true
grep 'first frame' "$WORK/err" || echo "no first-frame report"
awk -v t="$used" -v hz="$ticks" 'BEGIN { printf "idle for 10 s: %.2f s of CPU, %.2f%% of one core\n", t / hz, 100 * t / hz / 10 }'
INNER
XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run SDL_AUDIODRIVER=none DEMO=$demo WORK=$work \
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/inner.sh"
