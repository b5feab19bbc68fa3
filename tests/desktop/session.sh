# Sourced by the desktop and Wayland tests: a scratch folder, polling, failing with the
# game's output, and the end of everything a test started.
#   source session.sh <tool...>   skips the test (77) where a named tool is missing;
#                                 sets scratch.
#   started <pid>                 ends that process when the test ends (last first).
#   end_by_sigterm <pid>          ends it with SIGTERM and expects status 0.
# A test writes the game's output to $scratch/output, may set label for its messages
# and may define report_failure to show more than that output.

for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

scratch=$(mktemp -d)
started_pids=()
started() { started_pids+=("$1"); }
# Each is waited for: a display server still shutting down removes its socket files,
# and those may by then belong to the next server of that name.
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
    if declare -F report_failure >/dev/null; then
        report_failure
    elif [[ -s "$scratch/output" ]]; then
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


# SIGTERM must end the program the orderly way, with status 0; a program that hangs
# instead has its threads' stacks shown (where gdb is installed).
end_by_sigterm() {
    local pid=$1 status=0
    kill -TERM "$pid"
    if ! wait_for 10 sh -c "! kill -0 $pid"; then
        command -v gdb >/dev/null && gdb -p "$pid" -batch -ex 'thread apply all bt' 2>/dev/null | grep -E '^(Thread|#)' || true
        fail "SIGTERM did not end the program (its threads' stacks above, where gdb is installed)"
    fi
    wait "$pid" || status=$?
    ((status == 0)) || fail "the program ended with status $status"
}
