#!/usr/bin/env bash
# The X server ending under the running program, windowed and full-screen: the program ends
# within seconds with status 1 and a line on stderr that says the display went away, and leaves
# no process of its own behind. Before that, a full-screen window names its state, full-screen and
# on top, before it is first mapped, where a window manager reads it; a framed one names none.
# Usage: display_lost.sh PROGRAM MAP_STATE
set -uo pipefail
map_state=$(realpath "$2")
. "$(dirname "$(realpath "$0")")/program_run.sh"
# A copy under a name of this run's own, so that other tests' programs are not counted.
program=$work/brindlewick-display-lost
cp "$(realpath "$1")" "$program"

# Whether no process of this run's program is left.
none_left() {
    ! pgrep -f "^$program" >/dev/null
}

# Runs the program on a new X server with that answer to its question, ends the server under
# its window, and sets STATUS to how the program ended; the server's map requests are logged in
# $work/mapped, each with the state the window named then.
end_display_under() {  # end_display_under KEY
    : >"$log"
    start_xvfb || exit 1
    "$map_state" >"$work/mapped" 2>/dev/null &  # ends with the server
    start_answering "$program" "$1"
    require "a window opens" wait_until window_exists Brindlewick
    stop_xvfb
    wait_exit
}

for run in "windowed Escape" "full-screen Return _NET_WM_STATE_FULLSCREEN _NET_WM_STATE_ABOVE"; do
    read -r mode key state <<<"$run"
    end_display_under "$key"
    check "$mode: the window is first mapped with the state '$state'" \
        grep -qx "Brindlewick:${state:+ $state}" "$work/mapped"
    check "$mode: the program ends with status 1 when its X server does" [ "$STATUS" = 1 ]
    check "$mode: it says the display went away" grep -q "^The display .* went away" "$log"
    check "$mode: no process of it is left" wait_until none_left
done

finish display-lost
