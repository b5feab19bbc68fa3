#!/bin/bash
# Frame pacing and processor use of the real game under Xvfb.
#   bench/pacing.sh <build>/fenu [seconds of play, default 10] [scale, default 1] [game|title]
# Plays for the given time (F2 every few seconds, the cursor circling; with "title"
# the title screen runs on, so no game ends and the timer never stops), with the
# frame log on (FENU_FRAME_LOG), then ends the program with SIGTERM. Reports the mean
# and standard deviation of the intervals between presented frames over the last 600
# frames of play, how late the frame clock woke, and the processor share of one core:
# (user+sys)/wall from /usr/bin/time for the whole run, and from /proc for the play
# alone. Targets: standard deviation < 0.5 ms, processor < 5 %.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb_session.sh"
fenu=$(realpath "$1")
seconds=${2:-10}
scale=${3:-1}
what=${4:-game}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
start_xvfb
prepare_program_folder "$fenu" 0
frames="$PROGRAM_DIR/frames.log"
times="$PROGRAM_DIR/time.txt"
FENU_FRAME_LOG=$frames QT_SCALE_FACTOR=$scale \
    /usr/bin/time -f "%e %U %S %M" -o "$times" "$PROGRAM" >/dev/null 2>&1 &
timer=$!
window=$(focus_game_window)
game=$(pgrep -P "$timer")
ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }

sleep 1
cpu_before=$(cpu_ticks)
wall_before=$(date +%s%N)
end=$((wall_before + seconds * 1000000000))
step=0
while [ "$(date +%s%N)" -lt "$end" ]; do
    # A new game every 150 steps (3 s); the cursor runs round a circle.
    [ "$what" = game ] && [ $((step % 150)) -eq 0 ] && xdotool key --window "$window" F2
    read -r x y < <(awk -v s="$step" 'BEGIN { a = s / 15; printf "%d %d\n", 312 + 150 * cos(a), 250 + 120 * sin(a) }')
    xdotool mousemove --window "$window" "$x" "$y"
    step=$((step + 1))
    sleep 0.02
done
wall_after=$(date +%s%N)
cpu_after=$(cpu_ticks)
kill -TERM "$game"
wait "$timer" || true

python3 - "$frames" "$times" "$cpu_before" "$cpu_after" "$wall_before" "$wall_after" "$ticks" <<'PY'
import statistics, sys
frames, times, cpu0, cpu1, wall0, wall1, ticks = sys.argv[1:]
rows = [tuple(map(int, line.split())) for line in open(frames) if line.strip()]
presented = [p for _, p in rows]
intervals = [(b - a) / 1e6 for a, b in zip(presented, presented[1:])]
# The timer is off between the end of a game's fade and the next F2; those gaps are
# no frame intervals. Take the last 600 intervals of continuous play.
run = []
for value in intervals:
    run = run + [value] if value < 100 else []
    if len(run) > 600:
        run = run[-600:]
last = intervals[-600:]
woke = [(w - p) for (w, _), p in zip(rows, presented)]
late = [((w - rows[0][0]) % 16666667) / 1e6 for w, _ in rows[-600:]]
print(f"frames logged: {len(rows)}; intervals excluded as timer-off gaps (>100 ms): "
      f"{sum(v >= 100 for v in intervals)}")
sample = run if len(run) == 600 else [v for v in last if v < 100]
print(f"frame interval over {len(sample)} frames: mean {statistics.mean(sample):.3f} ms, "
      f"stddev {statistics.pstdev(sample):.3f} ms, min {min(sample):.3f}, max {max(sample):.3f}")
wakes = [w for w, _ in rows][-601:]
wake_intervals = [(b - a) / 1e6 for a, b in zip(wakes, wakes[1:]) if b - a < 100e6]
print(f"frame clock wake-ups over {len(wake_intervals)} intervals: stddev "
      f"{statistics.pstdev(wake_intervals):.3f} ms")
print(f"wake-up to presented (copy and hand-over), median "
      f"{statistics.median([(p - w) / 1e6 for w, p in rows[-600:]]):.3f} ms")
wall, user, system, rss = open(times).read().split()[-4:]
print(f"/usr/bin/time whole run: wall {wall} s, user {user} s, sys {system} s, "
      f"cpu {100 * (float(user) + float(system)) / float(wall):.2f} % of one core, peak RSS {rss} KB")
play = (int(wall1) - int(wall0)) / 1e9
cpu = (int(cpu1) - int(cpu0)) / int(ticks)
print(f"during {play:.1f} s of play: cpu {cpu:.2f} s = {100 * cpu / play:.2f} % of one core")
PY
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
rm -rf "$PROGRAM_DIR"
