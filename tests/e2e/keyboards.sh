#!/usr/bin/env bash
# End to end on an X server with no window manager: Alt+F4 closes the window by itself and the
# program exits 0; Ctrl+C or SIGTERM while the start question waits ends it at once with status
# 0 and no window; under a Russian layout P writes a snapshot and M breaks the mirror symmetry.
set -uo pipefail
program=$(realpath "$1")
fold_symmetry=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
. "$here/../../tools/x11_session.sh"

work=$(mktemp -d)
log="$work/program.log"
pid=""
cleanup() {
    [ -n "$pid" ] && stop_process "$pid"
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
failures=0

# Runs a check and reports it; returns its result.
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
        return 0
    fi
    echo "FAILED: $what"
    failures=$((failures + 1))
    return 1
}

# A check the rest of the run depends on: on failure, shows the program's output and stops.
require() {
    check "$@" && return 0
    echo "--- program output:"; cat "$log" 2>/dev/null
    exit 1
}

# Starts the program in the work directory and waits for its start question; sets PID and
# QUESTION (empty if no question appeared).
start_program() {
    (cd "$work" && exec "$program") >>"$log" 2>&1 &
    pid=$!
    QUESTION=$(wait_for_window "Start FullScreen?")
}

# Starts the program and answers No; sets WINDOW to the framed window that opens, if any.
start_windowed() {
    WINDOW=""
    start_program
    [ -n "$QUESTION" ] || return 0
    press "$QUESTION" Escape
    timeout 10 xdotool keyup Escape 2>/dev/null
    WINDOW=$(wait_for_window Brindlewick)
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

# Whether the snapshot is complete enough to read; sets FOLDS to its fold count.
read_folds() {
    FOLDS=$("$fold_symmetry" "$work/$1" 2>/dev/null)
}

# Whether no window of the program exists.
no_program_window() {
    ! window_exists Brindlewick
}

# Takes up to ten more snapshots with P (the Russian layout's letter on that key) until one has
# no fold symmetry: keys act between frames, so the frame after M may not be drawn yet.
snapshot_without_symmetry() {
    local number
    for number in $(seq 2 11); do
        press "$window" Cyrillic_ze
        wait_until read_folds "snap_${size}_${number}.png" || return 1
        [ "$FOLDS" = 0 ] && return 0
    done
    return 1
}

start_xvfb || exit 1

# Alt+F4 with no window manager to catch it: the program's own default handling closes.
start_windowed
window=$WINDOW
require "a window opens after No" [ -n "$window" ]
press "$window" alt+F4
timeout 10 xdotool keyup F4 Alt_L 2>/dev/null
wait_exit
check "Alt+F4 exits with status 0 (status: $STATUS)" [ "$STATUS" = 0 ]

# A signal while the question waits: the program ends at once, with no window.
for signal in INT TERM; do
    start_program
    require "the start question appears" [ -n "$QUESTION" ]
    kill -s "$signal" "$pid"
    wait_exit
    check "SIG$signal during the question exits with status 0 (status: $STATUS)" [ "$STATUS" = 0 ]
    check "the question is gone after SIG$signal" wait_until window_gone "$QUESTION"
    check "no window opened after SIG$signal" no_program_window
done

# A Russian layout: keys are sent as the Cyrillic letters the layout types on P and M.
require "the Russian layout is set" setxkbmap ru
start_windowed
window=$WINDOW
require "a window opens after No under the Russian layout" [ -n "$window" ]
size=1016_x_704
press "$window" Cyrillic_ze
require "P writes a snapshot" wait_until read_folds "snap_${size}_1.png"
check "the first snapshot is kaleidoscopic (folds: $FOLDS)" [ "$FOLDS" -gt 0 ]
press "$window" Cyrillic_softsign
check "M breaks the mirror symmetry" snapshot_without_symmetry
press "$window" Escape
wait_exit
check "Escape exits with status 0 under the Russian layout" [ "$STATUS" = 0 ]

if [ "$failures" -ne 0 ]; then
    echo "$failures keyboard checks failed; program output:"
    cat "$log"
    exit 1
fi
echo "all keyboard checks passed"
