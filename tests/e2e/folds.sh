# Snapshots taken with a key and the fold counts of their pictures, for the end-to-end scripts
# (after program_run.sh; fold_symmetry names the counting program). Sourced, not run.
# shellcheck shell=bash
require "pngcheck is installed (Debian: pngcheck)" command -v pngcheck

# The key that takes a snapshot: P, or the letter a layout types there.
SNAP_KEY=p

# Whether the snapshot exists and decodes as a PNG of that size.
snapshot_ok() {
    local file="$work/$1"
    [ -f "$file" ] && pngcheck -q "$file" >/dev/null && [ "$(png_size "$file")" = "$2" ]
}

# Snapshots taken so far; the program numbers them from 1 in every run.
shots=0

# Presses SNAP_KEY in window $1 (size $2) and waits for the snapshot under the next number, or
# under the one after $3 numbers the user's files hold; sets NAME.
snap() {  # snap WINDOW SIZE [TAKEN]
    press "$1" "$SNAP_KEY" || return 1
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
