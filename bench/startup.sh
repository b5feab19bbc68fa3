#!/bin/bash
# Start-up time and peak memory of the real game against a minimal Qt window with a
# menu bar, both under Xvfb: from process start to the first title frame shown (the
# minimal window: its first paint), medians of N runs, and peak RSS (/usr/bin/time %M).
#   bench/startup.sh <build>/fenu <build>/bench/minimal_window [runs, default 10]
# Start is the shell's $EPOCHREALTIME just before exec; the programs write
# CLOCK_REALTIME at their first frame (FENU_STARTUP_LOG). Each program runs on for
# a second after that (the game loads its sounds then), so the peak RSS includes it.
# Targets: start-up and peak RSS at most 1.1 x the minimal window's; the start-up
# varies with the machine's load from run to run, so take 40 runs or more.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb_session.sh"
fenu=$(realpath "$1")
minimal=$(realpath "$2")
runs=${3:-10}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
start_xvfb
prepare_program_folder "$fenu" 0
work=$(mktemp -d)

# measure <label> <program>: appends "<ms> <peak KB>" to $work/<label>
measure() {
    local label=$1 program=$2 stamp="$work/stamp" start
    rm -f "$stamp"
    FENU_STARTUP_LOG=$stamp /usr/bin/time -f "%M" -o "$work/rss" \
        bash -c 'echo "${EPOCHREALTIME/./}" > "$0.start"; exec "$1"' "$stamp" "$program" \
        >/dev/null 2>&1 &
    local timer=$!
    for _ in $(seq 200); do
        [ -s "$stamp" ] && break
        sleep 0.025
    done
    sleep 1
    kill -TERM "$(pgrep -P "$timer")" 2>/dev/null || true
    wait "$timer" || true
    start=$(cat "$stamp.start")
    echo "$(( ($(cat "$stamp") / 1000 - start) )) $(tail -1 "$work/rss")" >>"$work/$label"
}

for _ in $(seq "$runs"); do
    measure minimal "$minimal"
    measure fenu "$PROGRAM"
done

python3 - "$work/minimal" "$work/fenu" <<'PY'
import statistics, sys
def load(path):
    rows = [tuple(map(int, line.split())) for line in open(path)]
    return [r[0] / 1000 for r in rows], [r[1] for r in rows]
mt, mr = load(sys.argv[1])
ft, fr = load(sys.argv[2])
print(f"minimal window: start-up median {statistics.median(mt):.1f} ms "
      f"(runs {', '.join(f'{v:.0f}' for v in mt)}), peak RSS median {statistics.median(mr)} KB")
print(f"fenu:           start-up median {statistics.median(ft):.1f} ms "
      f"(runs {', '.join(f'{v:.0f}' for v in ft)}), peak RSS median {statistics.median(fr)} KB")
print(f"ratios: start-up {statistics.median(ft) / statistics.median(mt):.2f} x, "
      f"peak RSS {statistics.median(fr) / statistics.median(mr):.2f} x (targets <= 1.1 x)")
PY
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
rm -rf "$work" "$PROGRAM_DIR"
