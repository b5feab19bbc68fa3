#!/bin/bash
# What the game costs next to its peers: the processor time of the program and of
# the X server together, under Xvfb with the pointer circling over the field, as a
# ratio to a bare widget that presents a full 625 x 500 image at 62.5 Hz
# (full_frame_widget) under the same pointer.
#   bench/peer_ratio.sh <build>/fenu <build>/bench/full_frame_widget [seconds, default 20] [rounds, default 3]
# Each round measures the bare widget, the game in play (custom difficulty: one small
# slow alien ball; F2 every 150 moves of the pointer, about 4 s, so a game that ended
# starts again; F2_EVERY=<moves> changes that, 35 keeps the game from ever ending) and the title screen, one after the other in the same X server, and
# prints each one's share of one core and its ratio to the widget of that round.
# REFERENCE=<build>/bench/moving_squares_widget measures it too in every round: the
# plainest Qt program showing what play shows (two squares moving, repainted by region),
# the floor a game built on Qt's widgets starts from.
# Goal in play and on the title screen: at most 0.45. The time is counted by perf (linux-perf), to the
# nanosecond: the clock ticks of /proc charge a whole tick to whoever runs when it
# comes, and the widget's 16 ms timer keeps step with a 4 ms tick.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb_session.sh"
fenu=$(realpath "$1")
widget=$(realpath "$2")
seconds=${3:-20}
rounds=${4:-3}

# cpu_clock <pid> <file>: counts the processor time of all the threads of <pid>
# (nanosecond precision, unlike the clock ticks of /proc) until sent SIGINT.
cpu_clock() { perf stat -x, -e task-clock -p "$1" -o "$2" 2>/dev/null & }
# milliseconds <file>: what cpu_clock counted.
milliseconds() { awk -F, '$3 == "task-clock" { print $1 }' "$1"; }

# measure <pid> <window> <game|title|widget>: the shares of one core the process and
# the X server used while the pointer circled for $seconds, and their sum.
measure() {
    local pid=$1 window=$2 what=$3 step=0 x y counts
    counts=$(mktemp -d)
    sleep 1
    cpu_clock "$pid" "$counts/program"
    local program_clock=$!
    cpu_clock "$XVFB_PID" "$counts/server"
    local server_clock=$!
    # One xdotool for all the moves: one started per move costs the X server more (a
    # connection and its keyboard maps each time) than the pointer's moves themselves.
    local pointer
    exec {pointer}> >(exec xdotool - >/dev/null 2>&1)
    local wall_before=$(date +%s%N)
    local end=$((wall_before + seconds * 1000000000))
    while [ "$(date +%s%N)" -lt "$end" ]; do
        [ "$what" = game ] && [ $((step % ${F2_EVERY:-150})) -eq 0 ] && echo "key --window $window F2" >&"$pointer"
        read -r x y < <(awk -v s="$step" 'BEGIN { a = s / 15; printf "%d %d\n", 312 + 150 * cos(a), 250 + 120 * sin(a) }')
        echo "mousemove --window $window $x $y" >&"$pointer"
        step=$((step + 1))
        sleep 0.02
    done
    exec {pointer}>&-
    kill -INT "$program_clock" "$server_clock"
    wait "$program_clock" "$server_clock" 2>/dev/null || true
    local wall_after=$(date +%s%N)
    awk -v p="$(milliseconds "$counts/program")" -v s="$(milliseconds "$counts/server")" \
        -v w="$((wall_after - wall_before))" \
        'BEGIN { d = w / 1e6; printf "%.4f %.4f %.4f\n", p / d, s / d, (p + s) / d }'
    rm -rf "$counts"
}

# measure_alone <program> <window name>: measure for a program that takes no keys,
# started for it and ended after.
measure_alone() {
    "$1" >/dev/null 2>&1 &
    local pid=$! window
    window=$(focus_game_window "$2")
    measure "$pid" "$window" other
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
start_xvfb
prepare_program_folder "$fenu" 3
# The custom difficulty: one alien ball of radius 10, start speed at most 1.
sed -i 's/^Radius1=.*/Radius1=10/; s/^MaxStartSpeed=.*/MaxStartSpeed=1/' "$PROGRAM_DIR/Settings.ini"

ratios=$(mktemp)
for round in $(seq "$rounds"); do
    read -r bare_program bare_server bare < <(measure_alone "$widget" "full frame")

    reference=
    [ -n "${REFERENCE:-}" ] &&
        read -r reference_program reference_server reference < <(measure_alone "$REFERENCE" "moving squares")

    "$PROGRAM" >/dev/null 2>"${PEER_LOG:-/dev/null}" &
    pid=$!
    window=$(focus_game_window)
    read -r play_program play_server play < <(measure "$pid" "$window" game)
    xdotool key --window "$window" Escape
    read -r title_program title_server title < <(measure "$pid" "$window" title)
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true

    rows=("widget $bare_program $bare_server $bare")
    [ -n "$reference" ] && rows+=("squares $reference_program $reference_server $reference")
    rows+=("play $play_program $play_server $play" "title $title_program $title_server $title")
    for row in "${rows[@]}"; do
        read -r name program server total <<<"$row"
        awk -v r="$round" -v n="$name" -v p="$program" -v s="$server" -v t="$total" -v b="$bare" \
            'BEGIN { printf "round %d %-6s program %5.2f %% + X server %5.2f %% = %5.2f %% of one core, ratio %.3f\n", r, n, 100 * p, 100 * s, 100 * t, t / b }'
    done
    awk -v p="$play" -v t="$title" -v r="${reference:-0}" -v b="$bare" \
        'BEGIN { printf "%.3f %.3f %.3f\n", p / b, t / b, r / b }' >>"$ratios"
done
# The widget's share varies from round to round more than the game's: the median of
# the rounds is the figure to go by.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
echo "median ratio of $rounds rounds: play $(cut -d' ' -f1 "$ratios" | median), title $(cut -d' ' -f2 "$ratios" | median)${REFERENCE:+, squares $(cut -d' ' -f3 "$ratios" | median)}"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
rm -rf "$PROGRAM_DIR" "$ratios"
