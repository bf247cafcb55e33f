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
require "pngcheck is installed (Debian: pngcheck)" command -v pngcheck

# Whether the snapshot exists and decodes as a PNG of that size.
snapshot_ok() {
    local file="$work/$1"
    [ -f "$file" ] && pngcheck -q "$file" >/dev/null && [ "$(png_size "$file")" = "$2" ]
}

# Snapshots taken so far; the program numbers them from 1 in every run.
shots=0

# Presses P in window $1 (size $2) and waits for the snapshot under the next number, or under
# the one after $3 numbers the user's files hold; sets NAME.
snap() {  # snap WINDOW SIZE [TAKEN]
    press "$1" p || return 1
    shots=$((shots + 1 + ${3:-0}))
    NAME="snap_${2/x/_x_}_$shots.png"
    wait_until snapshot_ok "$NAME" "$2"
}

# Snapshots window $1 of size $2 and sets FOLD to the picture's fold count (0: no symmetry);
# fails if no snapshot is written.
take_fold() {
    snap "$1" "$2" || return 1
    FOLD=$("$fold_symmetry" "$work/$NAME")
    rm -f "$work/$NAME"
}

# Whether the picture of window $1 (size $2) shows fold count $3 within 6 snapshots: a pattern
# key morphs for two seconds first.
fold_becomes() {
    for _ in $(seq 6); do
        take_fold "$1" "$2" || return 1
        [ "$FOLD" = "$3" ] && return 0
        sleep 0.5
    done
    echo "fold count $FOLD, not $3"
    return 1
}

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
