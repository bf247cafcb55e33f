#!/usr/bin/env bash
# End to end on a real X server: the start question answered from the keyboard, window sizes,
# every key command, snapshots that decode, the full-screen switch, and clean exits.
set -euo pipefail
program=$(realpath "$1")
wm_close=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
. "$here/../../tools/x11_session.sh"

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# Starts the program in the work directory and answers the question with that key.
start_program() {
    (cd "$work" && exec "$program") &
    pid=$!
    local question
    question=$(wait_for_window "Start FullScreen?")
    press "$question" "$1"
}

# Waits up to 10 seconds for the program to exit; sets STATUS to its exit status.
wait_exit() {
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        STATUS="still running"
    else
        STATUS=0
        wait "$pid" || STATUS=$?
        pid=""
    fi
}

# Whether the snapshot exists and decodes as a PNG of that size.
snapshot_ok() {
    local file="$work/$1"
    [ -f "$file" ] || return 1
    command -v pngcheck >/dev/null && { pngcheck -q "$file" >/dev/null || return 1; }
    [ "$(identify_size "$file")" = "$2" ]
}

# Width x height from a PNG's header.
identify_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

start_xvfb

# No: a framed window with a client area of the desktop less 8 by 64.
start_program Escape
window=$(wait_for_window Brindlewick)
sleep 1
check "framed window client size 1016x704" [ "$(window_size "$window")" = "1016x704" ]
for key in 1 2 3 4 5 6 7 8 m s; do press "$window" "$key"; sleep 0.2; done
press "$window" p
sleep 1
check "snapshot 1 of the framed window" snapshot_ok snap_1016_x_704_1.png 1016x704
press "$window" F1
sleep 2
full=$(wait_for_window Brindlewick)
check "F1 opens a full-screen window of the desktop's size" [ "$(window_size "$full")" = "1024x768" ]
press "$full" p
sleep 1
check "snapshot 2 at the desktop's size" snapshot_ok snap_1024_x_768_2.png 1024x768
press "$full" Escape
wait_exit
check "Escape exits with status 0" [ "$STATUS" = 0 ]

# Yes: full-screen from the start; the window manager's close request exits 0.
start_program Return
full=$(wait_for_window Brindlewick)
sleep 1
check "Yes opens full-screen" [ "$(window_size "$full")" = "1024x768" ]
"$wm_close" "$full"
wait_exit
check "closing the window exits with status 0" [ "$STATUS" = 0 ]

if [ "$failures" -ne 0 ]; then
    echo "$failures end-to-end checks failed"
    exit 1
fi
echo "all end-to-end checks passed"
