#!/usr/bin/env bash
# A record's run played again on a bare X server: a record is set, its row in the
# records dialog double-clicked, and the run must end on the very picture the game
# ended on. The pictures are read from the X server's own framebuffer file.
#   record_run.sh <path of fenu>
set -euo pipefail
fenu=$1
x_framebuffer=1
source "$(dirname "$0")/x_session.sh" sha1sum python3

# The screen as the X server holds it: only the main window is on it, and the
# pointer rests in the same corner each time.
window_picture() { sha1sum <"$scratch/Xvfb_screen0"; }

# Waits until the window's picture stands still for 0.8 s (a loaded machine may stall
# a running game for less), and gives it.
still_picture() {
    local before after tries=60 still=0
    after=$(window_picture)
    while ((tries-- > 0)); do
        before=$after && sleep 0.4 && after=$(window_picture)
        [[ "$after" == "$before" ]] && ((++still == 2)) && echo "$after" && return 0
        [[ "$after" == "$before" ]] || still=0
    done
    fail "the picture never stood still"
}

# Plays the last game (F3) with the given keys after it, and gives the milliseconds
# until its picture last changed and that picture.
replay_timed() {
    local start last now picture changed
    start=$(date +%s%N) && xdotool key F3 "$@"
    last=$(window_picture) changed=$(date +%s%N)
    while now=$(date +%s%N) && ((now - changed < 1500000000)); do
        sleep 0.05 && picture=$(window_picture)
        [[ "$picture" == "$last" ]] || { last=$picture && changed=$now; }
    done
    echo "$(((changed - start) / 1000000)) $last"
}

# The frame shown fills the drawing area and nothing else: at the end of a game the
# area's last row is mostly the fade's last grey, the menu bar's last row above it has none.
expect_area_shown() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$main_window")"
    python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read()
size, _, _, _, _, _, _, _, _, _, _, bits, stride, *rest = struct.unpack(">25I", data[:100])
grey = lambda y: data[size + 12 * rest[6] + y * stride + int(sys.argv[2]) * 4:][:2500:4].count(252)
sys.exit(grey(int(sys.argv[3])) > 0 or grey(int(sys.argv[4])) < 313)' \
        "$scratch/Xvfb_screen0" "$X" "$((Y + HEIGHT - 501))" "$((Y + HEIGHT - 1))" ||
        fail "the last frame is not where the drawing area is"
}

# --help and --version answer without a display and end; an unknown option is named.
no_display() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 "$fenu" "$@" 2>&1; }
help=$(no_display --help) && [[ "$help" == *--version* ]] || fail "fenu --help: $help"
version=$(no_display --version) && [[ "$version" =~ ^feNU\ [0-9.]+$ ]] || fail "fenu --version: $version"
! bogus=$(no_display --bogus) && [[ "$bogus" == *"'bogus'"* ]] || fail "fenu --bogus: $bogus"
! two=$(no_display a.fenurun b.fenurun) && [[ "$two" == *"nur ein Rekordlauf"* ]] || fail "fenu a b: $two"
# Without a display it says so in German and ends with status 1, not an abort.
status=0 && alone=$(no_display) || status=$?
[[ $status == 1 && "$alone" == *"keine Anzeige"*DISPLAY* && "$alone" != *Reinstall* ]] ||
    fail "fenu without a display ($status): $alone"

xdotool mousemove 5 5
start_fenu '[Settings]\r\nMode=2\r\n[Bonus Records]\r\nPoints0=5\r\nPlayer0=Ida\r\n'
main_window=$(xdotool search --name '^feNU$' | head -n1)
sleep 0.5

# A pipe, then a link to /dev/zero, as the run of Ida's row: refused within a second.
refused_at_once() {
    xdotool mousemove --window "$records" 60 66 click --repeat 2 --delay 80 1
    wait_for 1 box_shown || { kill -KILL "$fenu_pid"; fail "$1 as a run: no box within a second"; }
    wait_for 5 box_has_keyboard || fail "the box did not get the keyboard"
    xdotool key Return && wait_for 5 box_gone || fail "Enter did not close the box"
}
box_gone() { ! box_shown; }
run_file="$scratch/game/Rekordlauf-Bonus-0.fenurun"
# (the last item but three: no game yet to watch again, so that item is greyed and skipped)
xdotool mousemove --window "$main_window" 15 10 click 1 sleep 0.3 key Up Up Up Up Return
# (A dialog takes clicks once it has been shown for half a second.)
wait_for 5 caption_matches '^Rekorde$' && sleep 0.6 || fail "the menu did not open the records"
records=$(xdotool search --name '^Rekorde$' | head -n1)
mkfifo "$run_file" && refused_at_once "a pipe"
rm "$run_file" && ln -s /dev/zero "$run_file" && refused_at_once "a link to /dev/zero"
rm "$run_file" && xdotool key Return && wait_for 5 sh -c '! xdotool search --name "^Rekorde$"' ||
    fail "Enter did not close the records"

wait_for 5 has_keyboard '^feNU$' && xdotool key F2
wait_for 30 has_keyboard '^Neuer Rekord$' || fail "no name prompt after the game"
xdotool type Eva && xdotool key Return
wait_for 5 has_keyboard '^Rekorde$' || fail "no records after the name prompt"
xdotool key Return
wait_for 5 sh -c '! xdotool search --name "^Rekorde$"' || fail "Enter did not close the records"
xdotool mousemove 5 5
game_end=$(still_picture)
ls "$scratch/game"/*.fenurun >/dev/null 2>&1 || fail "no run kept beside Settings.ini"

# Spiel > Rekorde...: the last item but four, now that the last game can be watched.
xdotool mousemove --window "$main_window" 15 10 click 1 sleep 0.3 key Up Up Up Up Up Return
wait_for 5 caption_matches '^Rekorde$' || fail "the menu did not open the records"
sleep 0.6
records=$(xdotool search --name '^Rekorde$' | head -n1)
# Down the list from its top: rows without a run do nothing; "Schwierig" is last.
for y in 60 70 80 90 100 110 120 130; do
    xdotool mousemove --window "$records" 60 "$y" click --repeat 2 --delay 80 1
    wait_for 1 caption_matches '^feNU - Rekordlauf von Eva \[' && break
done
xdotool mousemove 5 5
replay_end=$(still_picture)
caption_matches '^feNU - Rekordlauf von Eva \[[0-9]+ Punkte\]$' >/dev/null ||
    fail "no run played, or its caption is wrong: $(xdotool getwindowname "$main_window")"
[[ "$replay_end" == "$game_end" ]] || fail "the run ended on another picture than the game"

expect_area_shown

# The last game (F3), then eight times as fast: the same last picture, in at most a
# sixth of the time.
read -r at_1 picture < <(replay_timed)
caption_matches '^feNU - Letztes Spiel \[[0-9]+ Punkte\]$' >/dev/null || fail "F3 did not play the last game"
[[ "$picture" == "$game_end" ]] || fail "the last game ended on another picture"
read -r at_8 picture < <(replay_timed plus plus plus)
caption_matches ' \(8×\)$' >/dev/null || fail "no 8×: $(xdotool getwindowname "$main_window")"
[[ "$picture" == "$game_end" ]] || fail "the last game at 8× ended on another picture"
((at_8 * 6 <= at_1)) || fail "the last game took $at_1 ms, at 8× $at_8 ms"
end_by_sigterm "$fenu_pid"

# The run shared under another name, no UTF-8, opened from the command line as a file
# manager passes it (its name, then a file: URL), then the last game again after a
# restart, and a custom game's (F3).
cp "$scratch"/game/Rekordlauf-*.fenurun "$scratch/Geteilt $(printf '\xe9').fenurun"
start_fenu '' "$scratch/Geteilt $(printf '\xe9').fenurun"
wait_for 10 caption_matches '^feNU - Rekordlauf von Eva \[' || fail "the file on the command line was not played"
# (Its title's letters may be smoothed a shade apart from the first process's, which drew
# the title screen first: the end is told by the picture standing and no box.)
still_picture >/dev/null && ! box_shown || fail "the shared run did not play to its end"
end_by_sigterm "$fenu_pid"
start_fenu '' "file://$scratch/Geteilt%20%E9.fenurun"
wait_for 10 caption_matches '^feNU - Rekordlauf von Eva \[' || fail "the file: URL was not played"
end_by_sigterm "$fenu_pid"
start_fenu '[Settings]\r\nMode=3\r\n'
wait_for 5 has_keyboard '^feNU$' && xdotool sleep 0.5 key F3
wait_for 5 caption_matches '^feNU - Letztes Spiel \[' || fail "no last game after a restart"

# The statistics kept the record's game as it ended, not its replays, and a game left with
# Esc (within the grace period nothing else ends it); "Statistik..." (the last item but
# three) loads its module on the spot.
endings() {
    python3 -c 'import sqlite3, sys
print(" ".join(r[0] for r in sqlite3.connect(sys.argv[1]).execute("SELECT ending FROM games ORDER BY id")))' \
        "$scratch/game/Statistik.sqlite" 2>/dev/null
}
xdotool key F2 sleep 1 key Escape
kept_as_played() { [[ "$(endings)" =~ ^(berührt|gefangen)\ abgebrochen$ ]]; }
wait_for 5 kept_as_played || fail "the games are not kept as played: '$(endings)'"
main_window=$(xdotool search --name '^feNU$' | head -n1)
xdotool mousemove --window "$main_window" 15 10 click 1 sleep 0.3 key Up Up Up Up Return
wait_for 10 has_keyboard '^Statistik$' || fail "the menu did not open the statistics"
xdotool key Return
wait_for 5 sh -c '! xdotool search --name "^Statistik$"' || fail "Enter did not close the statistics"
wait_for 5 has_keyboard '^feNU$' && xdotool key F3
wait_for 5 caption_matches '^feNU - Letztes Spiel \[' || fail "F3 did not play the custom game"

# Strg+O during a game pauses it, with the pointer free to reach the dialog; cancelled,
# the game stays paused.
xdotool key F2
wait_for 5 caption_matches 'feNU - \[[0-9]+ Punkte' || fail "F2 did not start a game"
xdotool key ctrl+o
wait_for 5 sh -c 'xdotool getwindowfocus getwindowname | grep -q "^Rekordlauf öffnen$"' ||
    fail "Strg+O did not open the file dialog"
paused=$(xdotool getwindowname "$main_window")
xdotool mousemove 1000 740 sleep 1.5
[[ "$(xdotool getmouselocation)" == "x:1000 y:740 "* ]] || fail "the pointer is held: $(xdotool getmouselocation)"
xdotool key Escape
wait_for 5 sh -c '! xdotool search --name "^Rekordlauf öffnen$"' || fail "Escape did not close the file dialog"
sleep 1.5
[[ "$(xdotool getwindowname "$main_window")" == "$paused" ]] ||
    fail "the game ran on: '$paused', then '$(xdotool getwindowname "$main_window")'"
end_by_sigterm "$fenu_pid"
echo "passed"
