# Sourced by the X tests: the common session (session.sh) with an X server of its own.
#   source x_session.sh <tool...>   also skips (77) where Xvfb or xdotool is missing;
#                                   exports DISPLAY. With x_framebuffer set, the server
#                                   keeps its screen in $scratch/Xvfb_screen0 (XWD);
#                                   X_SERVER_OPTIONS are added to the server's own.
source "$(dirname "${BASH_SOURCE[0]}")/session.sh" Xvfb xdotool "$@"

# A display number nobody uses, chosen by the server itself. Without -noreset the
# server starts afresh whenever its last client leaves (xdotool does, after every
# command), and a program connecting just then finds no server. Sets x_server_pid.
start_x_server() {
    rm -f "$scratch/display"
    Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp ${x_framebuffer:+-fbdir "$scratch"} ${X_SERVER_OPTIONS:-} \
        3>"$scratch/display" 2>/dev/null &
    x_server_pid=$!
    started "$x_server_pid"
    wait_for 10 test -s "$scratch/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$scratch/display")"
}
start_x_server

caption_matches() { xdotool search --name "$1"; }
# Keys go to the window with the keyboard, which a window just shown gets only a moment
# after it appears (later still on a loaded machine): wait for this before typing.
has_keyboard() { xdotool getwindowfocus getwindowname | grep -q "$1"; }
# A box of the game's, called "feNU" as the main window (the test's $main_window) is at rest.
box_shown() { xdotool search --onlyvisible --name '^feNU$' | grep -vqx "$main_window"; }
box_has_keyboard() { local f; f=$(xdotool getwindowfocus) && [[ $f != "$main_window" && $(xdotool getwindowname "$f") == feNU ]]; }

# start_fenu [settings [argument...]]: the program (the test's $fenu) started from a
# folder of its own, where its Settings.ini is written (default: "Schwierig", whose
# first game soon ends with a new record); sets fenu_pid and waits for the main window.
start_fenu() {
    mkdir -p "$scratch/game"
    [[ -x "$scratch/game/fenu" ]] || cp "$fenu" "$scratch/game/fenu"
    printf '%b' "${1:-[Settings]\r\nMode=2\r\n}" >"$scratch/game/Settings.ini"
    HOME="$scratch" QT_QPA_PLATFORM=xcb "$scratch/game/fenu" "${@:2}" >"$scratch/output" 2>&1 &
    fenu_pid=$!
    started "$fenu_pid"
    wait_for 20 xdotool search --name '^feNU( |$)' || fail "the main window did not appear"
}
