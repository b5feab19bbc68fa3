#!/usr/bin/env bash
# The game as a native Wayland client in weston's headless backend, which offers
# no seat at all (no pointer to hold, no keyboard): the window must come up with
# the application id that desktops match the desktop entry by, present frames at
# the compositor's pace, and end the orderly way on SIGTERM without a protocol
# error. FENU_SCREENSHOT=<file> keeps a picture of the screen while it runs.
#   weston_headless.sh <path of fenu>
set -euo pipefail
fenu=$1

report_failure() {
    echo "--- the game's messages:"
    grep -v '^\[' "$scratch/output" 2>/dev/null | tail -n 20 || true
    echo "--- the end of the game's protocol trace:"
    grep '^\[' "$scratch/output" 2>/dev/null | tail -n 15 || true
    echo "--- weston:"
    tail -n 10 "$scratch/weston.log" 2>/dev/null || true
}

source "$(dirname "$0")/weston_session.sh"
start_weston --width=1024 --height=768

mkdir "$scratch/game"
cp "$fenu" "$scratch/game/fenu"
printf '[Settings]\r\nPlaySounds=0\r\n' >"$scratch/game/Settings.ini"
HOME="$scratch" QT_QPA_PLATFORM=wayland QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu WAYLAND_DEBUG=client \
    FENU_FRAME_LOG="$scratch/frames" FENU_STARTUP_LOG="$scratch/startup" \
    "$scratch/game/fenu" >"$scratch/output" 2>&1 &
fenu_pid=$!
started "$fenu_pid"

# The window is on the output once its surface enters it.
wait_for 20 grep -q 'wl_surface@[0-9]*\.enter(wl_output@' "$scratch/output" || fail "the window was not shown"
surface=$(sed -nE 's/.*(wl_surface@[0-9]+)\.enter\(wl_output@.*/\1/p' "$scratch/output" | head -n1)
app_id=$(sed -nE 's/.*xdg_toplevel@[0-9]+\.set_app_id\("(.*)"\).*/\1/p' "$scratch/output" | tail -n1)
[[ "$app_id" == org.example.fenu ]] || fail "the application id is \"$app_id\", not org.example.fenu"

# Over a second of frames (the attract mode runs until a game starts).
commits() { (($(grep -c -- "-> $surface\.commit()" "$scratch/output") >= 70)); }
wait_for 10 commits || fail "the window was not drawn 70 times within 10 s"
if [[ -n "${FENU_SCREENSHOT:-}" ]] && command -v weston-screenshooter >/dev/null; then
    (cd "$scratch" && weston-screenshooter) && cp "$(compgen -G "$scratch/wayland-screenshot-*.png" | head -n1)" "$FENU_SCREENSHOT" ||
        echo "note: no screenshot taken"
fi

end_by_sigterm "$fenu_pid"
grep -q 'wl_display@1\.error' "$scratch/output" && fail "the compositor reported a protocol error"

# The game's own count: frames handed to the compositor, about one per refresh
# (60 Hz here) rather than as fast as it can draw or stalled on each frame.
test -s "$scratch/startup" || fail "the game never saw its first frame shown"
frames=$(wc -l <"$scratch/frames")
((frames >= 60)) || fail "only $frames frames were logged as presented"
median=$(awk 'NR > 1 { print $2 - last } { last = $2 }' "$scratch/frames" | sort -n | awk '{ v[NR] = $1 } END { print int(v[int((NR + 1) / 2)] / 1000) }')
((median >= 8000 && median <= 40000)) || fail "the median time between presented frames is $median µs"
echo "passed ($frames frames, median $median µs apart)"
