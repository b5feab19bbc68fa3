# session.sh (skips where weston or the tools named are missing) and start_weston
# [option...]: a headless weston of its own, pixman (repaints only what is damaged),
# --debug (the screenshot protocol); exports XDG_RUNTIME_DIR and WAYLAND_DISPLAY.
source "$(dirname "${BASH_SOURCE[0]}")/../desktop/session.sh" weston "$@"

start_weston() {
    export XDG_RUNTIME_DIR=$scratch/run
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    env -u DISPLAY -u WAYLAND_DISPLAY weston --backend=headless-backend.so --use-pixman "$@" \
        --socket=wayland-fenu --idle-time=0 --debug >"$scratch/weston.log" 2>&1 &
    started $!
    wait_for 10 test -S "$XDG_RUNTIME_DIR/wayland-fenu" || fail "weston did not start"
    export WAYLAND_DISPLAY=wayland-fenu
}
