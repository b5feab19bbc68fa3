# Sourced by the Wayland tests: the common session (session.sh) and a headless weston
# of its own. Its pixman renderer repaints only what clients damage; --debug offers
# the screenshot protocol.
#   source weston_session.sh <tool...>   also skips (77) where weston is missing.
#   start_weston [option...]             starts it with these options added; exports
#                                        XDG_RUNTIME_DIR and WAYLAND_DISPLAY.
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
