#!/usr/bin/env bash
# The game on a bare X server (no window manager), driven the way a player drives
# it: synthetic key presses to whatever window has the keyboard. Nobody hands the
# keyboard to a new window or back to the main window when a dialog closes, so the
# game must take it itself; the pointer is parked away from the window, so keys do
# not reach it by lying under the pointer either.
#   bare_x_server.sh <path of fenu>
set -euo pipefail
fenu=$1

source "$(dirname "$0")/x_session.sh"


# Centre of the window with that caption, as "x y" in doubled pixels (no halves).
doubled_centre() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name "$1" | head -n1)")"
    echo "$((2 * X + WIDTH)) $((2 * Y + HEIGHT))"
}

# Dialogs stand centred on the main window (to the pixel: there are no frames).
expect_centred() {
    local dialog main
    dialog=$(doubled_centre "$1")
    main=$(doubled_centre '^feNU')
    read -r dx dy <<<"$dialog"
    read -r mx my <<<"$main"
    if ((dx - mx > 2 || mx - dx > 2 || dy - my > 2 || my - dy > 2)); then
        fail "\"$1\" is not centred on the main window: centres (doubled) $dialog and $main"
    fi
}

# A window is found by its name before it has the keyboard: keys wait for that.

# "Schwierig" ends the first game within seconds with a new record.
xdotool mousemove 5 5
start_fenu
sleep 0.5

# No window manager keeps the window's one size: the game does.
main_window=$(xdotool search --name '^feNU$' | head -n1)
window_size() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$main_window")"
    echo "${WIDTH}x$HEIGHT"
}
size=$(window_size)
xdotool windowsize "$main_window" 900 700
wait_for 5 sh -c "[ \"\$(xdotool getwindowgeometry '$main_window' | grep -o '[0-9]*x[0-9]*')\" = '$size' ]" ||
    fail "resized from outside, the window stays $(window_size) instead of $size"

xdotool key F2
wait_for 5 caption_matches 'Punkte' || fail "F2 right after the start did not start a game"

# The player fires bullets as the game ends and goes on clicking into the dialogs its
# end opens, on the prompt's "OK" and on "Rekorde löschen": neither is pressed.
click_on() {
    [[ -n ${clicker:-} ]] && kill "$clicker"
    xdotool search --name "$1" mousemove --window %1 "$2" "$3"
    while :; do xdotool click 1 sleep 0.1; done &
    clicker=$! && started "$clicker"
}
stop_clicking() { kill "$clicker" && sleep 0.7 && clicker=; }
while :; do xdotool click 1 sleep 0.1; done &
clicker=$! && started "$clicker"
wait_for 30 has_keyboard '^Neuer Rekord$' || fail "no name prompt after the game"
click_on '^Neuer Rekord$' 189 168 && sleep 1.5 && stop_clicking
has_keyboard '^Neuer Rekord$' || fail "clicks from the game confirmed the name prompt"
expect_centred '^Neuer Rekord$'
xdotool key Return
wait_for 5 has_keyboard '^Rekorde$' || fail "Enter in the name prompt did not show the records"
click_on '^Rekorde$' 228 156 && sleep 1 && stop_clicking
expect_centred '^Rekorde$'
xdotool key Return
wait_for 5 sh -c '! xdotool search --name "^Rekorde$"' || fail "Enter did not close the records"
sleep 0.3

xdotool key F2
wait_for 5 caption_matches '\[[01] Punkte' || fail "F2 after the dialogs did not start a new game"

xdotool key alt+F4
wait_for 10 sh -c "! kill -0 $fenu_pid" || fail "Alt+F4 did not end the program"
wait "$fenu_pid" || fail "the program ended with status $?"
grep -q 'Player2=(Unbekannt)' "$scratch/game/Settings.ini" ||
    fail "the record is not in Settings.ini: $(cat "$scratch/game/Settings.ini")"

# The session ends (SIGTERM) while the name prompt is open: the name typed so far
# is taken and the record saved.
start_fenu
sleep 0.5
xdotool key F2
wait_for 30 has_keyboard '^Neuer Rekord$' || fail "no name prompt after the second game"
xdotool type Tom
# The keys go through the X server, the signal does not: let them arrive first.
sleep 0.5
kill -TERM "$fenu_pid"
wait_for 10 sh -c "! kill -0 $fenu_pid" || fail "SIGTERM during the prompt did not end the program"
wait "$fenu_pid" || fail "the program ended with status $? after SIGTERM"
grep -q 'Player2=Tom' "$scratch/game/Settings.ini" ||
    fail "the name typed before SIGTERM is not in Settings.ini: $(cat "$scratch/game/Settings.ini")"
# A confirmed record is on disk at once. Then SIGHUP (a closed terminal) ends the program
# the orderly way: the sounds switched off after it stay off.
start_fenu
xdotool sleep 0.5 key F2 && wait_for 30 has_keyboard '^Neuer Rekord$' || fail "no prompt"
xdotool type "RekordHUP" && xdotool key Return
wait_for 5 has_keyboard '^Rekorde$' && grep -q "Player2=RekordHUP" "$scratch/game/Settings.ini" || fail "not on disk at once"
# The X focus comes back before Qt has made the window active again (its shortcuts act
# only then): a moment for that, and one for the key to arrive.
xdotool key Return && wait_for 5 has_keyboard '^feNU' || fail "the keyboard did not come back after the records"
xdotool sleep 1 key s sleep 1
kill -HUP "$fenu_pid"
wait "$fenu_pid" || fail "SIGHUP did not end the program the orderly way"
grep -qz "PlaySounds=0.*Player2=RekordHUP" "$scratch/game/Settings.ini" || fail "lost at SIGHUP: $(cat "$scratch/game/Settings.ini")"

# Another copy of the game saves a higher record while this one plays (its save
# replaces the file): no prompt for less, and the other's record stays.
game_over() {
    local before after
    before=$(xdotool search --name ' Punkte' getwindowname)
    sleep 1.2
    after=$(xdotool search --name ' Punkte' getwindowname)
    [[ -n $before && $before == "$after" ]]
}
start_fenu
xdotool sleep 0.5 key F2
printf '[Settings]\r\nMode=2\r\n[Bonus Records]\r\nPoints2=500\r\nPlayer2=Anna\r\n' >"$scratch/game/other"
mv "$scratch/game/other" "$scratch/game/Settings.ini"
wait_for 30 game_over || fail "the game did not end"
sleep 1.5
caption_matches '^Neuer Rekord$' && fail "a record prompt for a game below the other copy's record"
end_by_sigterm "$fenu_pid"
grep -qz "Points2=500.*Player2=Anna" "$scratch/game/Settings.ini" || fail "the other copy's record is lost: $(cat "$scratch/game/Settings.ini")"

# A save that fails at an end the system asks for (Settings.ini became a folder) goes to
# the standard error: no box holds up the end.
start_fenu
rm "$scratch/game/Settings.ini" && mkdir "$scratch/game/Settings.ini"
kill -TERM "$fenu_pid"
wait_for 2 sh -c "! kill -0 $fenu_pid" || fail "a failed save held up the end for more than 2 s"
wait "$fenu_pid" || fail "the program ended with status $? after a failed save"
grep -q 'kann nicht geschrieben werden' "$scratch/output" || fail "the failed save is not on the standard error"
rmdir "$scratch/game/Settings.ini"

# The X server ends while the name prompt is open: the name typed so far is kept, as on
# SIGTERM, and so are the sounds switched off before.
start_fenu
xdotool sleep 0.5 key s sleep 0.3 key F2 && wait_for 30 has_keyboard '^Neuer Rekord$' || fail "no prompt"
xdotool type "Getippt" sleep 0.5
kill "$x_server_pid"
wait "$fenu_pid" || true
grep -qz "PlaySounds=0.*Player2=Getippt" "$scratch/game/Settings.ini" || fail "lost with the X server: $(cat "$scratch/game/Settings.ini")"

# The X server ends during a game: the game is kept as aborted in the statistics and as
# the last game, as at any other end. Here it is the second game, without sounds: the
# first game's row was the first date the program formatted.
games() { python3 -c 'import sqlite3, sys
print(sqlite3.connect(sys.argv[1]).execute("SELECT COUNT(*) FROM games WHERE ending = ?", ("abgebrochen",)).fetchone()[0])' \
    "$scratch/game/Statistik.sqlite"; }
start_x_server
xdotool mousemove 5 5
start_fenu '[Settings]\r\nMode=2\r\nPlaySounds=0\r\n'
before=$(games) && rm -f "$scratch/game/Letztes-Spiel.fenurun"
xdotool sleep 1 key F2 sleep 0.5 key Escape sleep 1 key F2 && wait_for 5 caption_matches 'Punkte' || fail "F2 did not start a game"
sleep 0.8
kill "$x_server_pid"
wait "$fenu_pid" || true
[[ "$(games)" == $((before + 2)) && -s "$scratch/game/Letztes-Spiel.fenurun" ]] ||
    fail "a game, or the one running as the X server ended, is lost: $before aborted games, then $(games)"
echo "passed"
