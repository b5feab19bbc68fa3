#!/usr/bin/env bash
# A record's run proved by --verify (and refused with other points claimed or cut short),
# then raced (--race): the ghost, the caption, the box; a race kept, the records not changed.
#   race.sh <path of fenu>
set -euo pipefail
fenu=$1
x_framebuffer=1
source "$(dirname "$0")/x_session.sh" python3

# A record set by a first game of "Schwierig", named Rita.
xdotool mousemove 5 5 && start_fenu && xdotool sleep 0.5 key F2
wait_for 30 has_keyboard '^Neuer Rekord$' || fail "no name prompt after the game"
xdotool type Rita && xdotool key Return
wait_for 5 has_keyboard '^Rekorde$' || fail "no records after the name prompt"
xdotool key Return && end_by_sigterm "$fenu_pid"
run_file=$(ls "$scratch"/game/Rekordlauf-*-2.fenurun 2>/dev/null) || fail "no run kept for the record"
settings_before=$(grep -a 'Rita' "$scratch/game/Settings.ini")

# --verify: no display, one line, status 0 only when the file's points are proved.
verify() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 "$fenu" --verify "$1" 2>&1; }
line=$(verify "$run_file") || fail "--verify refused the record's own run: $line"
[[ "$line" =~ ^Rita,\ Schwierig(\ mit\ Bonus)?:\ in\ der\ Datei\ ([0-9]+)\ Punkte,\ nachgespielt\ ([0-9]+)\ Punkte\ –\ stimmt\ überein$ ]] &&
    [[ "${BASH_REMATCH[2]}" == "${BASH_REMATCH[3]}" ]] || fail "--verify: $line"
points=${BASH_REMATCH[2]}
# The header's points one higher, its CRC-32 made right; then the file cut short.
python3 - "$run_file" "$scratch/claims-more.fenurun" <<'PY'
import struct, sys, zlib
data = bytearray(open(sys.argv[1], "rb").read())
at = 10 + 2 + struct.unpack_from("<H", data, 10)[0] + 2
struct.pack_into("<I", data, at, struct.unpack_from("<I", data, at)[0] + 1)
struct.pack_into("<I", data, len(data) - 4, zlib.crc32(bytes(data[:-4])))
open(sys.argv[2], "wb").write(data)
PY
! line=$(verify "$scratch/claims-more.fenurun") && [[ "$line" == *"in der Datei $((points + 1)) Punkte, nachgespielt $points Punkte – stimmt nicht"* ]] ||
    fail "--verify on other points claimed: $line"
head -c -40 "$run_file" >"$scratch/cut.fenurun"
! line=$(verify "$scratch/cut.fenurun") && [[ "$line" == *"unvollständig"* ]] ||
    fail "--verify on a file cut short: $line"

# --race: the ghost's ring of pale grey on the field (a ring's worth, not the fade's field of
# it), the caption against Rita, the box at the end.
ghost_on_screen() { python3 -c 'import sys; sys.exit(not 20 <= open(sys.argv[1], "rb").read().count(b"\xb4\xb4\xb4") < 2000)' "$scratch/Xvfb_screen0"; }
xdotool mousemove 5 5 && start_fenu "$(cat "$scratch/game/Settings.ini")" --race "$run_file"
main_window=$(xdotool search --name '^feNU' | head -n1)
wait_for 10 caption_matches "gegen Rita \\($points\\)" || fail "no race: $(xdotool getwindowname "$main_window")"
wait_for 3 ghost_on_screen || fail "no ghost on the field"
xdotool mousemove --window "$main_window" 300 250
wait_for 40 box_shown || fail "no box at the end of the race"
[[ "$(xdotool getwindowname "$main_window")" =~ ^feNU\ -\ \[[0-9]+\ Punkte(,\ [0-9]+\ Sek\.)?\]\ gegen\ Rita\ \($points\)( – überholt!)?$ ]] ||
    fail "the race's caption: $(xdotool getwindowname "$main_window")"
wait_for 5 box_has_keyboard || fail "the box did not get the keyboard"
xdotool key Return sleep 0.5 && end_by_sigterm "$fenu_pid"
races=$(python3 -c 'import sqlite3, sys
print(" ".join(str(r[0]) for r in sqlite3.connect(sys.argv[1]).execute("SELECT race FROM games ORDER BY id")))' \
    "$scratch/game/Statistik.sqlite")
[[ "$races" == "0 1" ]] || fail "the statistics' games, 1 a race: '$races'"
[[ "$(grep -a 'Rita' "$scratch/game/Settings.ini")" == "$settings_before" ]] || fail "the race changed the records"
echo "passed"
