#!/usr/bin/env bash
# The statistics' file locked by another program from before the start, in the real
# program on a bare X server: the dialog opens at once and closes with Escape, a
# game's end is not held up, and its game is in the file after the next one. Then
# the file damaged before the start and mended (a copy put back) while the program
# runs: the game that waited is written with the next one.
#   statistics_trouble.sh <path of fenu>
set -euo pipefail
fenu=$1
source "$(dirname "$0")/x_session.sh" python3

mkdir -p "$scratch/game" && db="$scratch/game/Statistik.sqlite"
coproc HOLDER { python3 -c 'import sqlite3, sys
c = sqlite3.connect(sys.argv[1], isolation_level=None)
c.execute("PRAGMA locking_mode = EXCLUSIVE"); c.execute("BEGIN EXCLUSIVE")
print("held", flush=True); sys.stdin.read()' "$db"; }
holder=$HOLDER_PID && started "$holder"
read -r -t 10 -u "${HOLDER[0]}" _ || fail "the file could not be locked"
games() { python3 -c 'import sqlite3, sys
print(sqlite3.connect(sys.argv[1]).execute("SELECT COUNT(*) FROM games").fetchone()[0])' "$db"; }
has_games() { [[ $(games) == "$1" ]]; }
since() { echo $(($(date +%s%3N) - $1)); }
# (Qt takes keys as the window's own a moment after the X focus comes back.)
play() { wait_for 5 has_keyboard '^feNU$' && xdotool sleep 1 key F2 sleep 0.5 key Escape; }

xdotool mousemove 5 5
start_fenu
main_window=$(xdotool search --name '^feNU$' | head -n1)
# Spiel > Statistik... (the last item but two: no game yet to watch again)
wait_for 5 has_keyboard '^feNU$' && xdotool sleep 1 mousemove --window "$main_window" 15 10 click 1 sleep 0.3 key Up Up Up
start=$(date +%s%3N) && xdotool key Return
wait_for 5 has_keyboard '^Statistik$' || fail "the menu did not open the statistics"
echo "the dialog on a locked file opened after $(since "$start") ms"
(($(since "$start") < 1500)) || fail "the dialog took $(since "$start") ms to open"
xdotool key Escape
wait_for 2 sh -c '! xdotool search --name "^Statistik$"' || fail "Escape did not close the statistics"

play && start=$(date +%s%3N)
wait_for 5 box_shown || fail "no box when the game could not be kept"
echo "the game's end on a locked file showed its box after $(since "$start") ms"
(($(since "$start") < 1000)) || fail "the game's end took $(since "$start") ms"
wait_for 5 box_has_keyboard || fail "the box did not get the keyboard"
xdotool key Return
eval "exec ${HOLDER[1]}>&-" && wait "$holder"
play
wait_for 5 has_games 2 || fail "the two games are not in the file after the lock"
end_by_sigterm "$fenu_pid"

cp "$db" "$scratch/sound.sqlite"
python3 -c 'import sys
with open(sys.argv[1], "r+b") as f: f.seek(4096); f.write(bytes(4096))' "$db"
start_fenu
play && wait_for 5 box_shown || fail "no box when the game could not be kept in a damaged file"
wait_for 5 box_has_keyboard && xdotool key Return
cp "$scratch/sound.sqlite" "$db"
play
wait_for 5 has_games 4 || fail "$(games) games in the mended file instead of 4"
end_by_sigterm "$fenu_pid"
echo "passed"
