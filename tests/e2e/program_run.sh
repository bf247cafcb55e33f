# One program on a virtual X server, run in a work folder of its own that is removed afterwards,
# with its output kept for failure reports. Shared by the end-to-end scripts; sourced, not run.
# shellcheck shell=bash
e2e_dir=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
. "$e2e_dir/../../tools/x11_session.sh"
. "$e2e_dir/checks.sh"

work=$(mktemp -d)
log="$work/program.log"
pid=""
# Stops whatever the run left going and removes its folder.
cleanup() {
    stop_program_and_xvfb "$pid"
    rm -rf "$work"
}
trap cleanup EXIT

# Starts a program in the work folder and waits up to 10 seconds for its start question; sets
# pid, and QUESTION to the question's window (empty if none appeared).
start_program() {  # start_program PROGRAM [ARGUMENT...]
    (cd "$work" && exec "$@") >>"$log" 2>&1 &
    pid=$!
    QUESTION=$(wait_for_window "Start FullScreen?")
}

# A check the rest of the run depends on: on failure, shows what there was and stops.
require() {
    check "$@" && return 0
    echo "--- windows:"; list_windows -root -children 2>&1 | grep '"' || true
    echo "--- program output:"; cat "$log" 2>/dev/null
    exit 1
}

# Starts a program and answers its start question with that key.
start_answering() {  # start_answering PROGRAM KEY
    start_program "$1"
    require "the start question appears" [ -n "$QUESTION" ]
    press_closing "$QUESTION" "$2"
}

# Waits up to 10 seconds for the program to exit; sets STATUS to its exit status. A program
# still running then is stopped, so the next check starts alone.
wait_exit() {
    STATUS="still running"
    if ! wait_until process_gone "$pid"; then
        stop_process "$pid"
        pid=""
        return 0
    fi
    STATUS=0
    wait "$pid" || STATUS=$?
    pid=""
}

# Ends the run: its status is 1 when any check failed, with the program's output shown.
finish() {  # finish WHAT
    if [ "$failures" -ne 0 ]; then
        echo "program output:"
        cat "$log"
    fi
    verdict "$1"
}
