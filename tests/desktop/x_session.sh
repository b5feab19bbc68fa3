# Sourced by the desktop tests: an X server of their own, a scratch folder, polling,
# failing with the game's output, and the end of everything a test started.
#   source x_session.sh <tool...>   skips the test (77) where Xvfb, xdotool or a named
#                                   tool is missing; exports DISPLAY, sets scratch.
#   started <pid>                   ends that process when the test ends.
# A test writes the game's output to $scratch/output and may set label for its messages.

for tool in Xvfb xdotool "$@"; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

scratch=$(mktemp -d)
started_pids=()
started() { started_pids+=("$1"); }
# Last started first; the X server is waited for: one still shutting down removes its
# socket files, and those may by then belong to the next server of that number.
end_session() {
    local i
    for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
        kill "${started_pids[i]}" 2>/dev/null || true
        wait "${started_pids[i]}" 2>/dev/null || true
    done
    rm -rf "$scratch"
}
trap end_session EXIT

fail() {
    echo "FAILED${label:+ ($label)}: $*"
    if [[ -s "$scratch/output" ]]; then
        echo "--- the game's output:"
        cat "$scratch/output"
    fi
    exit 1
}

# Polls a command for up to the given number of seconds.
wait_for() {
    local tries=$(($1 * 10))
    shift
    while ((tries-- > 0)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# A display number nobody uses, chosen by the server itself. Without -noreset the
# server starts afresh whenever its last client leaves (xdotool does, after every
# command), and a program connecting just then finds no server.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
started $!
wait_for 10 test -s "$scratch/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$scratch/display")"
