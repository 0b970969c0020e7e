# Sourced by the tests that run a program in a real window. start_xvfb DIR starts an X server on a
# display it picks itself and writes down (tests side by side never race for one), sets $xvfb to its
# process, which the caller's exit trap kills, and $display to ":N"; without a server it fails.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$1/display" 2> "$1/xvfb.err" &
    xvfb=$!
    for _ in $(seq 1 100); do
        [ -s "$1/display" ] && break
        sleep 0.1
    done
    [ -s "$1/display" ] || { echo "FAIL: no X server: $(cat "$1/xvfb.err")" >&2; exit 1; }
    display=:$(head -1 "$1/display")
}
