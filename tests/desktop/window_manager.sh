#!/usr/bin/env bash
# The game under a window manager (jwm on Xvfb): the main window and every dialog
# stand centred, frames included, at the first showing as at later ones. The window
# manager frames a window only after it is mapped, so a position given too late is
# taken for the window inside the frame.
#   window_manager.sh <path of fenu>
set -euo pipefail
fenu=$1

source "$(dirname "$0")/x_session.sh" jwm xprop xwininfo

window_of() { xdotool search --name "$1" | head -n1; }
framed() { xprop -id "$(window_of "$1")" _NET_FRAME_EXTENTS | grep -q '='; }

# Centre of the frame of the window with that caption, as "x y" in doubled pixels.
doubled_frame_centre() {
    local window info x y width height left right top bottom
    window=$(window_of "$1")
    info=$(xwininfo -id "$window")
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    width=$(awk '/Width:/ {print $2}' <<<"$info")
    height=$(awk '/Height:/ {print $2}' <<<"$info")
    read -r left right top bottom <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    echo "$((2 * x - 2 * left + width + left + right)) $((2 * y - 2 * top + height + top + bottom))"
}

# The dialog's frame stands centred on the given centre (doubled), to the pixel.
expect_centred() {
    local what=$1 caption=$2 centre=$3
    wait_for 5 framed "$caption" || fail "$what: \"$caption\" did not appear framed"
    sleep 0.3
    read -r dx dy <<<"$(doubled_frame_centre "$caption")"
    read -r cx cy <<<"$centre"
    if ((dx - cx > 2 || cx - dx > 2 || dy - cy > 2 || cy - dy > 2)); then
        fail "$what: \"$caption\" is not centred: frame centre (doubled) $dx $dy, wanted $centre"
    fi
}

HOME="$scratch" jwm >/dev/null 2>&1 &
started $!
wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window' || fail "jwm did not start"

# "Schwierig" ends the first game within seconds with a new record.
mkdir "$scratch/game"
cp "$fenu" "$scratch/game/fenu"
printf '[Settings]\r\nMode=2\r\n' >"$scratch/game/Settings.ini"
xdotool mousemove 5 5
HOME="$scratch" QT_QPA_PLATFORM=xcb "$scratch/game/fenu" >"$scratch/output" 2>&1 &
started $!
wait_for 20 framed '^feNU$' || fail "the main window did not appear framed"
sleep 0.5
main=$(doubled_frame_centre '^feNU$')
read -r -a workarea <<<"$(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')"
screen="$((2 * workarea[0] + workarea[2])) $((2 * workarea[1] + workarea[3]))"
expect_centred "first showing" '^feNU$' "$screen"

# The menus by keyboard: Alt selects "Spiel", Right and Left move along the bar.
for showing in first second; do
    xdotool key alt
    sleep 0.2
    xdotool key Right Down Down Down Down Return
    expect_centred "$showing showing" 'Benutzerdefinierte Einstellungen' "$main"
    xdotool key Escape
    wait_for 5 sh -c '! xdotool search --name "^Benutzerdefinierte"' || fail "Escape did not close the custom settings"
    xdotool key alt
    sleep 0.2
    xdotool key Down Up Up Return
    expect_centred "$showing showing" '^Rekorde$' "$main"
    xdotool key Return
    wait_for 5 sh -c '! xdotool search --name "^Rekorde$"' || fail "Enter did not close the records"
    xdotool key alt
    sleep 0.2
    xdotool key Left Down Return
    expect_centred "$showing showing" '^Info' "$screen"
    xdotool key Return
    wait_for 5 sh -c '! xdotool search --name "^Info"' || fail "Enter did not close the about dialog"
done

xdotool key F2
wait_for 30 xdotool search --name '^Neuer Rekord$' || fail "no name prompt after the game"
expect_centred "name prompt" '^Neuer Rekord$' "$main"
echo "passed"
