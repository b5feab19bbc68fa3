#!/usr/bin/env bash
# Two games on a bare X server, the first ended by the game and the second left
# with Esc, are in Statistik.sqlite beside Settings.ini; "Statistik..." opens the
# dialog, its module loaded on the spot.
#   statistics.sh <path of fenu>
set -euo pipefail
fenu=$1
source "$(dirname "$0")/x_session.sh" python3

endings() {
    python3 -c 'import sqlite3, sys
print(" ".join(row[0] for row in sqlite3.connect(sys.argv[1]).execute("SELECT ending FROM games ORDER BY id")))' \
        "$scratch/game/Statistik.sqlite" 2>/dev/null
}
kept_as_played() { [[ "$(endings)" =~ ^(berührt|gefangen)\ abgebrochen$ ]]; }

xdotool mousemove 5 5
start_fenu
main_window=$(xdotool search --name '^feNU$' | head -n1)
sleep 0.5
xdotool key F2
wait_for 30 caption_matches '^Neuer Rekord$' || fail "no name prompt after the first game"
sleep 0.3
xdotool type Eva && xdotool key Return
wait_for 5 caption_matches '^Rekorde$' || fail "no records after the name prompt"
xdotool sleep 0.3 key Return
wait_for 5 sh -c '! xdotool search --name "^Rekorde$"' || fail "Enter did not close the records"
# Within the grace period nothing ends the game but Esc.
xdotool sleep 0.5 key F2 sleep 1 key Escape
wait_for 5 kept_as_played || fail "the two games are not kept as played: '$(endings)'"

# Spiel > Statistik...: the last item but one.
xdotool mousemove --window "$main_window" 15 10 click 1 sleep 0.3 key Up Up Up Up Return
wait_for 10 caption_matches '^Statistik$' || fail "the menu did not open the statistics"
xdotool sleep 0.5 key Return
wait_for 5 sh -c '! xdotool search --name "^Statistik$"' || fail "Enter did not close the statistics"
end_by_sigterm "$fenu_pid"
echo "passed"
