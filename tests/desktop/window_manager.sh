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
    local window x y width height left right top bottom
    window=$(window_of "$1")
    read -r x y width height <<<"$(xwininfo -id "$window" | awk '/Absolute upper-left [XY]/ {printf "%s ", $4}
        /Width:|Height:/ {printf "%s ", $2}')"
    read -r left right top bottom <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    echo "$((2 * x - left + width + right)) $((2 * y - top + height + bottom))"
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
xdotool mousemove 5 5
start_fenu
wait_for 20 framed '^feNU$' || fail "the main window did not appear framed"
sleep 0.5
main=$(doubled_frame_centre '^feNU$')
read -r -a workarea <<<"$(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')"
screen="$((2 * workarea[0] + workarea[2])) $((2 * workarea[1] + workarea[3]))"
expect_centred "first showing" '^feNU$' "$screen"

# A dialog opened from the menus by keyboard (Alt selects "Spiel", Right and Left move
# along the bar) stands centred, and the given key closes it.
dialog() {
    local showing=$1 keys=$2 caption=$3 centre=$4 close=$5
    xdotool key alt
    sleep 0.2
    xdotool key $keys
    expect_centred "$showing showing" "$caption" "$centre"
    xdotool key "$close"
    wait_for 5 sh -c "! xdotool search --name '$caption'" || fail "$close did not close \"$caption\""
}
for showing in first second; do
    dialog $showing 'Right Down Down Down Down Return' '^Benutzerdefinierte Einstellungen$' "$main" Escape
    dialog $showing 'Down Up Up Up Up Return' '^Rekorde$' "$main" Return
    dialog $showing 'Left Down Return' '^Info' "$screen" Return
done

xdotool key F2
wait_for 30 xdotool search --name '^Neuer Rekord$' || fail "no name prompt after the game"
expect_centred "name prompt" '^Neuer Rekord$' "$main"
echo "passed"
