#!/usr/bin/env bash
# End to end on a real X server: the start question answered from the keyboard, window sizes,
# pattern and mirror keys seen in the picture, snapshots that decode, the full-screen switch,
# and clean exits.
# Usage: run_e2e.sh PROGRAM WM_CLOSE FOLD_SYMMETRY [NO_KEY]; NO_KEY answers No in the question box
# (Escape in SDL's box; run_wine.sh passes Wine's).
set -uo pipefail
program=$(realpath "$1")
wm_close=$(realpath "$2")
fold_symmetry=$(realpath "$3")
no_key=${4:-Escape}
. "$(dirname "$(realpath "$0")")/program_run.sh"
. "$e2e_dir/folds.sh"

# Whether pattern key $3 brings the picture of window $1 (size $2) to fold count $4. The pattern
# also re-rolls by itself now and then; should that land during the wait, the key is pressed
# once more.
pattern_key_gives() {
    press "$1" "$3" && fold_becomes "$1" "$2" "$4" && return 0
    press "$1" "$3" && fold_becomes "$1" "$2" "$4"
}

# The root-mean-square difference, 0 to 1, between a snapshot and a picture (file or "-").
difference() {  # difference SNAPSHOT PICTURE
    compare -metric RMSE "$work/$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'
}

# Whether the snapshot is upright: closer to the window's picture on the screen, captured just
# after it, than to that picture turned upside down (the backdrop is not symmetric that way).
snapshot_upright() {  # snapshot_upright SNAPSHOT WINDOW
    local screen=$work/screen.png upright flipped
    timeout 10 import -window "$2" "$screen" 2>/dev/null || return 1
    upright=$(difference "$1" "$screen")
    flipped=$(convert "$screen" -flip png:- | difference "$1" -)
    rm -f "$screen"
    echo "difference from the screen $upright, from it upside down $flipped"
    awk -v upright="$upright" -v flipped="$flipped" \
        'BEGIN { exit !(upright != "" && flipped != "" && upright < flipped) }'
}

# Whether the snapshot carries its name as Title, the author, and the compressed description.
snapshot_texts_ok() {
    local texts
    texts=$(identify -verbose "$work/$1" 2>/dev/null)
    grep -qx "    Title: $1" <<<"$texts" && grep -qx '    Author: Halvorsk' <<<"$texts" &&
        grep -qx '    Description: Kaleidoscope Snapshot' <<<"$texts"
}

start_xvfb || exit 1

# No: a framed window with a client area of the desktop less 8 by 64.
start_answering "$program" "$no_key"
window=$(wait_for_window Brindlewick)
require "a window opens after No" [ -n "$window" ]
check "framed window client size 1016x704" wait_until has_size "$window" 1016x704
check "key 1 makes a 10-fold picture" pattern_key_gives "$window" 1016x704 1 10
check "key 8 makes a 24-fold picture" pattern_key_gives "$window" 1016x704 8 24
press "$window" m
check "key M leaves no mirror symmetry" fold_becomes "$window" 1016x704 0
check "a snapshot of the framed window" snap "$window" 1016x704
check "the snapshot is upright" snapshot_upright "$NAME" "$window"
check "the snapshot carries its texts" snapshot_texts_ok "$NAME"
# A file under the next name is the user's: it stays as it is, and the number after it is used.
users="snap_1016_x_704_$((shots + 1)).png"
echo "earlier snapshot" >"$work/$users"
check "the next snapshot beside the file under the next name" snap "$window" 1016x704 1
check "the file under the next name is untouched" cmp -s "$work/$users" <(echo "earlier snapshot")

press_closing "$window" F1  # F1 replaces the window
full=$(wait_for_window Brindlewick "$window")
require "F1 opens a new window" [ -n "$full" ]
check "the framed window is gone" wait_until window_gone "$window"
check "the new window is full-screen at the desktop's size" wait_until has_size "$full" 1024x768
check "the next snapshot at the desktop's size" snap "$full" 1024x768
press_closing "$full" Escape
wait_exit
check "Escape exits with status 0" [ "$STATUS" = 0 ]

# Yes: full-screen from the start; the window manager's close request exits 0.
start_answering "$program" Return
full=$(wait_for_window Brindlewick)
require "a window opens after Yes" [ -n "$full" ]
check "Yes opens full-screen" wait_until has_size "$full" 1024x768
"$wm_close" "$full"
wait_exit
check "closing the window exits with status 0" [ "$STATUS" = 0 ]

finish end-to-end
