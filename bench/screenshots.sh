#!/bin/bash
# Screenshots of the real game under Xvfb: the title screen and a running game, at
# the given device pixel ratio (QT_SCALE_FACTOR).
#   bench/screenshots.sh <build>/fenu <scale> <out-prefix>
# writes <out-prefix>-title.png and <out-prefix>-game.png.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb_session.sh"
fenu=$(realpath "$1")
scale=${2:-1}
out=$3

SCREEN=${SCREEN:-2560x1600x24} start_xvfb
prepare_program_folder "$fenu" 0
QT_SCALE_FACTOR=$scale "$PROGRAM" >/dev/null 2>&1 &
game=$!
window=$(focus_game_window)
sleep 1.5
import -window "$window" "$out-title.png"
xdotool key --window "$window" F2
# Keep the cursor moving so the player's ball has something to chase.
geometry=$(xdotool getwindowgeometry --shell "$window")
eval "$geometry"
xdotool mousemove --window "$window" $((WIDTH / 3)) $((HEIGHT / 3))
sleep 0.4
xdotool mousemove --window "$window" $((WIDTH * 2 / 3)) $((HEIGHT / 2))
sleep 0.4
import -window "$window" "$out-game.png"
kill "$game"
wait "$game" || true
rm -rf "$PROGRAM_DIR"
