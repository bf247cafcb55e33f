#!/usr/bin/env bash
# Runs the kaleidoscope on a virtual X server for a few seconds, saves one snapshot with P,
# quits with Escape and says where the snapshot is. For machines with no display.
set -euo pipefail
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
. "$here/x11_session.sh"

out=$(mktemp -d)
start_xvfb
trap stop_xvfb EXIT
(cd "$out" && "$program") &
pid=$!
question=$(wait_for_window "Start FullScreen?")
press "$question" Return
window=$(wait_for_window "Brindlewick")
sleep 4
press "$window" p
sleep 1
press "$window" Escape
wait "$pid"
echo "No display here, so the kaleidoscope ran on a virtual one for a few seconds."
echo "Its snapshot: $(ls "$out"/snap_*.png)"
