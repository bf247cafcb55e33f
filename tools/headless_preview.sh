#!/usr/bin/env bash
# Runs the kaleidoscope on a virtual X server for a few seconds in the current directory, saves
# one snapshot there with P, quits with Escape and says which file it is. For machines with no
# display. A step that fails is named, with what the program wrote to stderr, and nothing it
# started is left running.
set -uo pipefail
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
. "$here/x11_session.sh"

errors=$(mktemp)
pid=""

# Stops the program if it still runs and the virtual X server, and removes the error output.
cleanup() {
    stop_program_and_xvfb "$pid"
    rm -f "$errors"
}

# Says what went wrong, whether the program had ended, and what it wrote to stderr; exits 1.
fail() {
    echo "$0: $*" >&2
    if [ -n "$pid" ] && process_gone "$pid"; then
        wait "$pid"
        echo "The program had ended, with status $?." >&2
        pid=""
    fi
    if [ -s "$errors" ]; then
        echo "The program's error output:" >&2
        cat "$errors" >&2
    fi
    exit 1
}

# The snapshots in the current directory, one a line.
snapshots() {
    find . -maxdepth 1 -name 'snap_*.png' | sort
}

# Whether a snapshot has appeared that was not in the list $1.
new_snapshot_written() {
    [ -n "$(comm -13 <(echo "$1") <(snapshots))" ]
}

trap cleanup EXIT
before=$(snapshots)
start_xvfb || fail "the virtual X server did not start"
"$program" 2>"$errors" &
pid=$!
question=$(wait_for_window "Start FullScreen?") ||
    fail "the program's start question did not appear within 10 seconds"
press_closing "$question" Return
window=$(wait_for_window "Brindlewick") ||
    fail "the program's window did not appear within 10 seconds of answering its question"
sleep 4  # a few seconds of animation before the picture is taken
press "$window" p
written=0
wait_until new_snapshot_written "$before" && written=1
press_closing "$window" Escape
wait_until process_gone "$pid" || fail "the program was still running 10 seconds after Escape"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the program exited with status $status"
echo "No display here, so the kaleidoscope ran on a virtual one for a few seconds."
[ "$written" -eq 1 ] || fail "it could not save its snapshot in $PWD (is the directory writable?)"
echo "Its snapshot is saved here: $(comm -13 <(echo "$before") <(snapshots) | sed 's|^\./||')"
