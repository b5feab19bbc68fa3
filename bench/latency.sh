#!/bin/bash
# Click-to-photon under Xvfb: a real click (XTEST) on the title screen, which adds a
# ball under the pointer, then the time until the screen's pixel there changes, read
# back from the X server every 0.25 ms (bench/click_latency.py); beside it, in the same
# X server, the plainest Qt widget that paints a disc at once on a click, as the floor.
#   bench/latency.sh <build>/fenu <build>/bench/click_disc_widget [rounds, default 60]
# Prints median, p90 and max of each in milliseconds, and the game's median as a ratio
# to the floor's. Goal: the game's median at most 12 ms, p90 at most 18 ms, every round
# under two frames (33.3 ms).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb_session.sh"
fenu=$(realpath "$1")
widget=$(realpath "$2")
rounds=${3:-60}

stats() {
    python3 -c 'import statistics, sys
v = sorted(float(x) for x in sys.argv[1].split())
p90 = v[min(len(v) - 1, int(0.9 * len(v)))]
print("%-22s median %6.2f ms  p90 %6.2f ms  max %6.2f ms  (%d rounds)" % (sys.argv[2], statistics.median(v), p90, v[-1], len(v)))' "$1" "$2"
}
median() { python3 -c 'import statistics, sys; print(statistics.median(float(x) for x in sys.argv[1].split()))' "$1"; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
start_xvfb
xdotool mousemove 1 1

"$widget" >/dev/null 2>&1 &
widget_pid=$!
window=$(focus_game_window '^click disc$')
floor=$(python3 "$here/click_latency.py" "$window" 60 60 "$rounds")
kill "$widget_pid" && wait "$widget_pid" 2>/dev/null || true

prepare_program_folder "$fenu" 0
"$PROGRAM" >/dev/null 2>&1 &
game_pid=$!
window=$(focus_game_window '^feNU$')
sleep 1
# Down to the one demo ball the title keeps: each round's ball is then always added,
# and taken away again by the round's right click.
xdotool mousemove --window "$window" 60 100 click --repeat 6 --delay 50 3
game=$(python3 "$here/click_latency.py" "$window" 60 100 "$rounds")
kill "$game_pid" && wait "$game_pid" 2>/dev/null || true
rm -rf "$PROGRAM_DIR"

stats "$floor" "floor (click disc)"
stats "$game" "feNU, title screen"
python3 -c 'import sys; print("ratio of the medians: %.1f" % (float(sys.argv[1]) / float(sys.argv[2])))' "$(median "$game")" "$(median "$floor")"
