# Sourced by the X tests: the common session (session.sh) with an X server of its own.
#   source x_session.sh <tool...>   also skips (77) where Xvfb or xdotool is missing;
#                                   exports DISPLAY. With x_framebuffer set, the server
#                                   keeps its screen in $scratch/Xvfb_screen0 (XWD).
source "$(dirname "${BASH_SOURCE[0]}")/session.sh" Xvfb xdotool "$@"

# A display number nobody uses, chosen by the server itself. Without -noreset the
# server starts afresh whenever its last client leaves (xdotool does, after every
# command), and a program connecting just then finds no server.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp ${x_framebuffer:+-fbdir "$scratch"} \
    3>"$scratch/display" 2>/dev/null &
started $!
wait_for 10 test -s "$scratch/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$scratch/display")"
