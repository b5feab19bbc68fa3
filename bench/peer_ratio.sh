#!/bin/bash
# What the game costs next to its peers: the processor time of the program and of
# the X server together, under Xvfb with the pointer circling over the field, as a
# ratio to a bare widget that presents a full 625 x 500 image at 62.5 Hz
# (full_frame_widget) under the same pointer.
#   bench/peer_ratio.sh <build>/fenu <build>/bench/full_frame_widget [seconds, default 20] [rounds, default 2]
# Each round measures the bare widget, the game in play (custom difficulty: one small
# slow alien ball; F2 every 3 s, so a game that ended starts again) and the title
# screen, one after the other in the same X server, and prints each one's share of
# one core and its ratio to the widget of that round. Goal in play: at most 0.6.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb_session.sh"
fenu=$(realpath "$1")
widget=$(realpath "$2")
seconds=${3:-20}
rounds=${4:-2}
ticks_per_second=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# measure <pid> <window> <game|title|widget>: the share of one core the process
# and the X server used together while the pointer circled for $seconds.
measure() {
    local pid=$1 window=$2 what=$3 step=0 x y
    sleep 1
    local cpu_before=$(($(cpu_ticks "$pid") + $(cpu_ticks "$XVFB_PID")))
    local wall_before=$(date +%s%N)
    local end=$((wall_before + seconds * 1000000000))
    while [ "$(date +%s%N)" -lt "$end" ]; do
        [ "$what" = game ] && [ $((step % 150)) -eq 0 ] && xdotool key --window "$window" F2
        read -r x y < <(awk -v s="$step" 'BEGIN { a = s / 15; printf "%d %d\n", 312 + 150 * cos(a), 250 + 120 * sin(a) }')
        xdotool mousemove --window "$window" "$x" "$y"
        step=$((step + 1))
        sleep 0.02
    done
    local cpu_after=$(($(cpu_ticks "$pid") + $(cpu_ticks "$XVFB_PID")))
    local wall_after=$(date +%s%N)
    awk -v c="$((cpu_after - cpu_before))" -v t="$ticks_per_second" \
        -v w="$((wall_after - wall_before))" 'BEGIN { printf "%.4f\n", c / t / (w / 1e9) }'
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
start_xvfb
prepare_program_folder "$fenu" 3
# The custom difficulty: one alien ball of radius 10, start speed at most 1.
sed -i 's/^Radius1=.*/Radius1=10/; s/^MaxStartSpeed=.*/MaxStartSpeed=1/' "$PROGRAM_DIR/Settings.ini"

for round in $(seq "$rounds"); do
    "$widget" >/dev/null 2>&1 &
    pid=$!
    window=$(focus_game_window "full frame")
    bare=$(measure "$pid" "$window" widget)
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true

    "$PROGRAM" >/dev/null 2>&1 &
    pid=$!
    window=$(focus_game_window)
    play=$(measure "$pid" "$window" game)
    xdotool key --window "$window" Escape
    title=$(measure "$pid" "$window" title)
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true

    awk -v r="$round" -v b="$bare" -v p="$play" -v t="$title" 'BEGIN {
        printf "round %d: widget %.2f %%, play %.2f %% (ratio %.3f), title %.2f %% (ratio %.3f) of one core, program and X server\n",
            r, 100 * b, 100 * p, p / b, 100 * t, t / b }'
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
rm -rf "$PROGRAM_DIR"
