#!/usr/bin/env bash
# End to end on an X server with no window manager: the start question closed from its frame
# answers No, and the framed window can be resized; Alt+F4 closes the window by itself and the program exits 0; Ctrl+C or SIGTERM while the start question waits ends it at once with status
# 0 and no window; under a Russian layout P writes a snapshot and M breaks the mirror symmetry.
set -uo pipefail
program=$(realpath "$1")
fold_symmetry=$(realpath "$2")
wm_close=$(realpath "$3")
. "$(dirname "$(realpath "$0")")/program_run.sh"
. "$e2e_dir/folds.sh"

# Whether window $1 may be resized: it gives the window manager no fixed size.
resizable() {
    ! timeout 10 xprop -id "$1" WM_NORMAL_HINTS | grep -q 'maximum size'
}

# Whether no window of the program exists.
no_program_window() {
    ! window_exists Brindlewick
}

start_xvfb || exit 1

# Alt+F4 with no window manager to catch it: the program's own default handling closes.
start_program "$program"
require "the start question appears" [ -n "$QUESTION" ]
"$wm_close" "$QUESTION"
window=$(wait_for_window Brindlewick)
require "a window opens after the question is closed" [ -n "$window" ]
check "closing the question opens a framed window" wait_until has_size "$window" 1016x704
check "the framed window can be resized" resizable "$window"
press_closing "$window" alt+F4
wait_exit
check "Alt+F4 exits with status 0 (status: $STATUS)" [ "$STATUS" = 0 ]

# A signal while the question waits: the program ends at once, with no window.
for signal in INT TERM; do
    start_program "$program"
    require "the start question appears" [ -n "$QUESTION" ]
    kill -s "$signal" "$pid"
    wait_exit
    check "SIG$signal during the question exits with status 0 (status: $STATUS)" [ "$STATUS" = 0 ]
    check "the question is gone after SIG$signal" wait_until window_gone "$QUESTION"
    check "no window opened after SIG$signal" no_program_window
done

# A Russian layout: keys are sent as the Cyrillic letters the layout types on P and M.
require "the Russian layout is set" setxkbmap ru
start_answering "$program" Escape
window=$(wait_for_window Brindlewick)
require "a window opens after No under the Russian layout" [ -n "$window" ]
SNAP_KEY=Cyrillic_ze  # the Russian layout's letter on P
require "P writes a snapshot" take_fold "$window" 1016x704
check "the first snapshot is kaleidoscopic (folds: $FOLD)" [ "$FOLD" -gt 0 ]
press "$window" Cyrillic_softsign
check "M breaks the mirror symmetry" fold_becomes "$window" 1016x704 0
press_closing "$window" Escape
wait_exit
check "Escape exits with status 0 under the Russian layout" [ "$STATUS" = 0 ]

finish keyboard
