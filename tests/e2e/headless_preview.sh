#!/usr/bin/env bash
# Without a display, ./run's preview saves its snapshot in the directory it was started from,
# next to what is there already, and names that file.
set -uo pipefail
preview=$(realpath "$1")
program=$(realpath "$2")
here=$(mktemp -d "$(realpath "$3")/preview.XXXXXX")
trap 'rm -rf "$here"' EXIT
cd "$here" || exit 1
touch snap_1024_x_768_1.png  # a snapshot from an earlier run, to be left as it is

output=$(env -u WAYLAND_DISPLAY "$preview" "$program" 2>&1)
status=$?
new=$(find . -maxdepth 1 -name 'snap_*.png' -size +0 -printf '%f\n')
if [ "$status" -ne 0 ] || [ "$(wc -w <<<"$new")" -ne 1 ]; then
    echo "FAILED: status $status, new snapshots in the starting directory: '$new'; it said:"
    echo "$output"
    exit 1
fi
if ! grep -qx "Its snapshot is saved here: $new" <<<"$output"; then
    echo "FAILED: it did not name $new; it said:"
    echo "$output"
    exit 1
fi
[ -s snap_1024_x_768_1.png ] && { echo "FAILED: the earlier snapshot was overwritten"; exit 1; }
if ! head -c 8 "$new" | cmp -s - <(printf '\211PNG\r\n\032\n'); then
    echo "FAILED: $new is not a PNG file"
    exit 1
fi
echo "ok: $new saved in the starting directory and named"
