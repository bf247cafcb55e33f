#!/usr/bin/env bash
# Runs the kaleidoscope on a virtual X server for a few seconds in the current directory, saves
# one snapshot there with P, quits with Escape and says which file it is. For machines with no
# display.
set -euo pipefail
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
. "$here/x11_session.sh"

# The snapshots in the current directory, one a line.
snapshots() {
    find . -maxdepth 1 -name 'snap_*.png' | sort
}

# Whether a snapshot has appeared that was not in the list $1.
new_snapshot_written() {
    [ -n "$(comm -13 <(echo "$1") <(snapshots))" ]
}

before=$(snapshots)
start_xvfb
trap stop_xvfb EXIT
"$program" &
pid=$!
question=$(wait_for_window "Start FullScreen?")
press "$question" Return
window=$(wait_for_window "Brindlewick")
sleep 4  # a few seconds of animation before the picture is taken
press "$window" p
written=0
wait_until new_snapshot_written "$before" && written=1
press "$window" Escape
wait "$pid"
echo "No display here, so the kaleidoscope ran on a virtual one for a few seconds."
if [ "$written" -eq 0 ]; then
    echo "It could not save its snapshot in $PWD (is the directory writable?)" >&2
    exit 1
fi
echo "Its snapshot is saved here: $(comm -13 <(echo "$before") <(snapshots) | sed 's|^\./||')"
