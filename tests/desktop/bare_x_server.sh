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

wait_for 30 caption_matches '^Neuer Rekord$' || fail "no name prompt after the game"
sleep 0.3
expect_centred '^Neuer Rekord$'
xdotool key Return
wait_for 5 caption_matches '^Rekorde$' || fail "Enter in the name prompt did not show the records"
sleep 0.3
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
wait_for 30 caption_matches '^Neuer Rekord$' || fail "no name prompt after the second game"
sleep 0.3
xdotool type Tom
# The keys go through the X server, the signal does not: let them arrive first.
sleep 0.5
kill -TERM "$fenu_pid"
wait_for 10 sh -c "! kill -0 $fenu_pid" || fail "SIGTERM during the prompt did not end the program"
wait "$fenu_pid" || fail "the program ended with status $? after SIGTERM"
grep -q 'Player2=Tom' "$scratch/game/Settings.ini" ||
    fail "the name typed before SIGTERM is not in Settings.ini: $(cat "$scratch/game/Settings.ini")"
# A confirmed record is on disk at once. Then SIGHUP (a closed terminal) ends the program
# the orderly way, an ended X server on the spot: the sounds switched off after it stay off.
for end in HUP X; do
    start_fenu
    xdotool sleep 0.5 key F2 && wait_for 30 caption_matches '^Neuer Rekord$' || fail "no prompt"
    xdotool sleep 0.3 type "Rekord$end" && xdotool key Return
    wait_for 5 caption_matches '^Rekorde$' && grep -q "Player2=Rekord$end" "$scratch/game/Settings.ini" || fail "not on disk at once"
    xdotool key Return && wait_for 5 sh -c 'xdotool getwindowfocus getwindowname | grep -q ^feNU' && xdotool key s sleep 1
    [[ $end == HUP ]] && kill -HUP "$fenu_pid" || kill "${started_pids[0]}"
    wait "$fenu_pid" || [[ $end == X ]] || fail "SIGHUP did not end the program the orderly way"
    grep -qz "PlaySounds=0.*Player2=Rekord$end" "$scratch/game/Settings.ini" || fail "lost at $end: $(cat "$scratch/game/Settings.ini")"
done
echo "passed"
