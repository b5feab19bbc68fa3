# Sourced by the bench scripts: an Xvfb server of their own, ended when the script
# ends. Sets DISPLAY. SCREEN may name the screen geometry (default 1280x1024x24).
start_xvfb() {
    local fd_file
    fd_file=$(mktemp)
    # -noreset: without it the server resets when its last client leaves, and a program
    # started right after another one ended (peer_ratio.sh: the game after the widget)
    # finds no display and aborts.
    Xvfb -displayfd 3 -noreset -screen 0 "${SCREEN:-1280x1024x24}" -nolisten tcp 3>"$fd_file" \
        >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fd_file" ] && break
        sleep 0.05
    done
    DISPLAY=":$(head -1 "$fd_file")"
    export DISPLAY
    rm -f "$fd_file"
    trap stop_xvfb EXIT
}

stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# A fresh folder with a copy of the program and a Settings.ini that keeps the game
# from ever asking for a record (every record is out of reach) and plays no sound.
# Usage: prepare_program_folder <fenu> <mode 0..2>; sets PROGRAM.
prepare_program_folder() {
    PROGRAM_DIR=$(mktemp -d)
    cp "$1" "$PROGRAM_DIR/fenu"
    # Its modules beside it, as in its build tree: a program measured against another
    # build's must not load that build's modules.
    cp "$(dirname "$1")"/libfenu_*.so "$PROGRAM_DIR/" 2>/dev/null || true
    PROGRAM="$PROGRAM_DIR/fenu"
    cat >"$PROGRAM_DIR/Settings.ini" <<INI
[Settings]
Mode=${2:-0}
CountBalls=1
Radius1=20
Radius2=40
MaxStartSpeed=4
Bonus Points=0
PlaySounds=0

[Records]
Points0=4000000000
Points1=4000000000
Points2=4000000000

[Bonus Records]
Points0=4000000000
Points1=4000000000
Points2=4000000000
INI
}

# The id of the game's visible window, given input focus (there is no window
# manager to give it).
focus_game_window() {
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "${1:-feNU}" 2>/dev/null | head -1)
        [ -n "$id" ] && break
        sleep 0.05
    done
    [ -n "$id" ] && xdotool windowfocus --sync "$id" 2>/dev/null
    echo "$id"
}
