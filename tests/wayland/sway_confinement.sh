#!/usr/bin/env bash
# The pointer held in the playing field on native Wayland, end to end: the game in
# sway's headless backend, a virtual mouse thrown far beyond the window. While a
# game runs the compositor must keep the pointer inside the field (confined to the
# region the game asked for, never leaving the window); paused, the same throw
# takes it out of the window; resumed, it is held again; aborted, it is free; come
# back and resting, it is where the game sees it.
# What the game sees is read from its own protocol trace (WAYLAND_DEBUG).
#   sway_confinement.sh <path of fenu> <path of virtual_pointer>
set -euo pipefail
fenu=$1
pointer_tool=${2:-}

source "$(dirname "$0")/../desktop/session.sh" sway wtype
if [[ ! -x "$pointer_tool" ]]; then
    echo "skipped: the virtual pointer helper was not built (no wayland-client)"
    exit 77
fi

# sway refuses to run as root: there it runs as nobody, in a runtime folder of its
# own; the game and the input tools keep theirs and name sway's socket by its path.
chmod 755 "$scratch"
run=$scratch/sway-run
mkdir -m 700 "$run" "$scratch/run"
as_sway_user=()
if ((EUID == 0)); then
    as_sway_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    chown 65534:65534 "$run"
fi

# The game's trace is long: its own messages, then the lines about input and the
# pointer constraint.
report_failure() {
    echo "--- the game's messages:"
    grep -v '^\[' "$scratch/output" 2>/dev/null | tail -n 20 || true
    echo "--- the game's trace of input and constraints:"
    grep -E 'wl_pointer@|wl_keyboard@[0-9]+\.(enter|key)|confine|region|set_title' "$scratch/output" 2>/dev/null |
        grep -v set_cursor | tail -n 40 || true
    echo "--- sway:"
    tail -n 10 "$scratch/sway.log" 2>/dev/null || true
}

# The trace after a mark (its count of finished lines then).
trace_since() { tail -n "+$(($1 + 1))" "$scratch/output"; }
traced_since() { trace_since "$1" | grep -Eq "$2"; }
trace_mark() { wc -l <"$scratch/output"; }

# sway honours pointer constraints only on a seat its configuration names.
cat >"$scratch/sway.conf" <<'CONF'
xwayland disable
output HEADLESS-1 mode 1024x768
seat * pointer_constraint enable
CONF
env -u DISPLAY -u WAYLAND_DISPLAY HOME="$scratch" XDG_RUNTIME_DIR="$run" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman \
    "${as_sway_user[@]}" sway -c "$scratch/sway.conf" >"$scratch/sway.log" 2>&1 &
started $!
wait_for 10 compgen -G "$run/wayland-[0-9]" || fail "sway did not start"
WAYLAND_DISPLAY=$(compgen -G "$run/wayland-[0-9]" | head -n1)
export WAYLAND_DISPLAY XDG_RUNTIME_DIR=$scratch/run

# A mouse and a keyboard that stay plugged in for the whole test; a key typed on a
# keyboard that appears only for that key would reach nobody.
coproc mouse { exec "$pointer_tool" 2>"$scratch/pointer.log"; }
started "$mouse_PID"
pointer() {
    echo "$*" >&"${mouse[1]}"
    local reply=""
    read -r -t 5 reply <&"${mouse[0]}" && [[ "$reply" == ok ]] ||
        fail "the virtual pointer did not take \"$*\": $(cat "$scratch/pointer.log")"
}
read -r -t 5 reply <&"${mouse[0]}" && [[ "$reply" == ok ]] ||
    fail "no virtual pointer: $(cat "$scratch/pointer.log")"
wtype -s 600000 &
started $!

# Qt's own scale factor makes the surface's coordinates differ from Qt's.
scale=1.25
# Mode 3 (own settings) with one tiny slow ball: no game ends by itself during
# the test. Radius2 is the player's ball, whose radius the field is shrunk by.
radius=30
mkdir "$scratch/game"
cp "$fenu" "$scratch/game/fenu"
printf '[Settings]\r\nMode=3\r\nCountBalls=1\r\nRadius1=1\r\nRadius2=%d\r\nMaxStartSpeed=1\r\nPlaySounds=0\r\n' \
    "$radius" >"$scratch/game/Settings.ini"
HOME="$scratch" QT_SCALE_FACTOR=$scale QT_QPA_PLATFORM=wayland QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu WAYLAND_DEBUG=client \
    "$scratch/game/fenu" >"$scratch/output" 2>&1 &
fenu_pid=$!
started "$fenu_pid"
wait_for 20 grep -q 'wl_keyboard@[0-9]*\.enter(' "$scratch/output" || fail "the window did not get the keyboard"

# The floating window stands in the middle of the output.
pointer to 512 384 1024 768
wait_for 5 grep -q 'wl_pointer@[0-9]*\.enter(' "$scratch/output" || fail "the pointer did not enter the window"

# The region asked for is the field shrunk by the player's radius: the whole width
# of the 625x500 field, which lies under the menu bar at the bottom of the window;
# all in surface coordinates, Qt's times the scale factor, every surface pixel the
# field covers a part of included.
mark=$(trace_mark)
wtype -k F2
wait_for 5 traced_since "$mark" 'set_title\("feNU - \[' || fail "F2 did not start a game"
wait_for 5 traced_since "$mark" 'confine_pointer\(' || fail "the game did not ask to confine the pointer"
read -r confined region_id < <(trace_since "$mark" |
    sed -nE 's/.*confine_pointer\(new id zwp_confined_pointer_v1@([0-9]+), wl_surface@[0-9]+, wl_pointer@[0-9]+, wl_region@([0-9]+), .*/\1 \2/p' | tail -n1) || true
read -r rx ry rw rh < <(trace_since "$mark" | sed -nE "s/.*wl_region@$region_id\.add\(([-0-9]+), ([-0-9]+), ([0-9]+), ([0-9]+)\).*/\1 \2 \3 \4/p" | tail -n1) || true
read -r width height < <(sed -nE 's/.*set_window_geometry\(0, 0, ([0-9]+), ([0-9]+)\).*/\1 \2/p' "$scratch/output" | tail -n1) || true
expected=$(awk -v s="$scale" -v h="$height" -v r="$radius" 'function lo(v) { return int(v * s) }
    function hi(v) { return v * s == int(v * s) ? v * s : int(v * s) + 1 }
    BEGIN { top = int(h / s + 0.5) - 500 + r; print lo(r), lo(top), hi(625 - r) - lo(r), hi(top + 500 - 2 * r) - lo(top) }')
[[ "$width" == "$(awk -v s="$scale" 'BEGIN { print int(625 * s + 0.5) }')" && "$rx $ry $rw $rh" == "$expected" ]] ||
    fail "the region is ($rx, $ry, $rw, $rh) in a window of ${width}x$height, not the field's clip rectangle ($expected)"

# A throw moves the pointer by (dx, dy) at once; the game then sees it either at
# a corner of the region (held) or leaving the window (free). Events that were
# under way before the throw (the compositor bringing the pointer back into the
# region when it confines it) may still come in, so the last position is polled.
throw() {
    throw_mark=$(trace_mark)
    pointer move "$1" "$2"
}
last_seen() { trace_since "$throw_mark" | sed -nE 's/.*wl_pointer@[0-9]+\.motion\([0-9]+, ([-0-9.]+), ([-0-9.]+)\).*/\1 \2/p' | tail -n1; }
left_window() { traced_since "$throw_mark" 'wl_pointer@[0-9]+\.leave\('; }
# Within a pixel of (x, y), and never outside the window since the throw.
seen_at() {
    ! left_window && awk -v p="$(last_seen)" -v x="$1" -v y="$2" \
        'BEGIN { split(p, a, " "); exit !(p != "" && a[1] - x <= 1 && x - a[1] <= 1 && a[2] - y <= 1 && y - a[2] <= 1) }'
}
expect_held() {
    wait_for 5 seen_at "$1" "$2" ||
        fail "$3: the game saw the pointer at ($(last_seen))$(left_window && echo ' and leaving the window'), not at the region's corner ($1, $2)"
}
expect_free() { wait_for 5 left_window || fail "$1: the pointer did not leave the window (the game saw it at $(last_seen))"; }

throw 3000 3000
expect_held $((rx + rw - 1)) $((ry + rh - 1)) "thrown down right while a game runs"
throw -6000 -6000
expect_held "$rx" "$ry" "thrown up left while a game runs"

mark=$(trace_mark)
wtype p
wait_for 5 traced_since "$mark" "zwp_confined_pointer_v1@$confined\.destroy\(" || fail "P did not release the pointer"
throw 3000 3000
expect_free "thrown down right in the pause"

mark=$(trace_mark)
wtype p
wait_for 5 traced_since "$mark" 'confine_pointer\(' || fail "the game did not ask to confine the pointer again when resumed"
throw -6000 -6000
expect_held "$rx" "$ry" "thrown up left after the pause"

mark=$(trace_mark)
wtype -k Escape
wait_for 5 traced_since "$mark" 'zwp_confined_pointer_v1@[0-9]+\.destroy\(' || fail "Esc did not release the pointer"
throw 3000 3000
expect_free "thrown down right after Esc"

# A pointer that comes into the window and rests: sway tells where with the entry
# alone, no motion follows. The game chases that point, and once its ball has caught
# it, holds the pointer there through the fade: the region of a pixel (two where
# the scale rounds up) is where it rests.
mark=$(trace_mark)
pointer to 512 560 1024 768
wait_for 5 traced_since "$mark" 'wl_pointer@[0-9]+\.enter\(' || fail "the pointer did not come back into the window"
read -r ex ey < <(trace_since "$mark" |
    sed -nE 's/.*wl_pointer@[0-9]+\.enter\([0-9]+, wl_surface@[0-9]+, ([-0-9.]+), ([-0-9.]+)\).*/\1 \2/p' | tail -n1) || true
mark=$(trace_mark)
wtype -k F2
fade_region() { trace_since "$mark" | sed -nE 's/.*wl_region@[0-9]+\.add\(([-0-9]+), ([-0-9]+), [12], [12]\).*/\1 \2/p' | tail -n1; }
wait_for 40 traced_since "$mark" 'wl_region@[0-9]+\.add\([-0-9]+, [-0-9]+, [12], [12]\)' ||
    fail "the game did not end with a pointer resting in the field"
awk -v p="$(fade_region)" -v x="$ex" -v y="$ey" \
    'BEGIN { split(p, a, " "); exit !(a[1] - x <= 2 && x - a[1] <= 2 && a[2] - y <= 2 && y - a[2] <= 2) }' ||
    fail "the fade holds the pointer at ($(fade_region)), not where it rests ($ex, $ey)"

end_by_sigterm "$fenu_pid"
grep -q 'wl_display@1\.error' "$scratch/output" && fail "the compositor reported a protocol error"
echo "passed"
