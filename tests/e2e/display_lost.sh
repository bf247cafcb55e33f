#!/usr/bin/env bash
# The X server ending under the running program, windowed and full-screen: the program ends
# within seconds with status 1 and a line on stderr that says the display went away, and leaves
# no process of its own behind.
# Usage: display_lost.sh PROGRAM
set -uo pipefail
. "$(dirname "$(realpath "$0")")/program_run.sh"
# A copy under a name of this run's own, so that other tests' programs are not counted.
program=$work/brindlewick-display-lost
cp "$(realpath "$1")" "$program"

# Whether no process of this run's program is left.
none_left() {
    ! pgrep -f "^$program" >/dev/null
}

# Runs the program on a new X server with that answer to its question, ends the server under
# its window, and sets STATUS to how the program ended.
end_display_under() {  # end_display_under KEY
    : >"$log"
    start_xvfb || exit 1
    start_answering "$program" "$1"
    require "a window opens" wait_until window_exists Brindlewick
    stop_xvfb
    wait_exit
}

for run in "windowed Escape" "full-screen Return"; do
    mode=${run% *}
    end_display_under "${run#* }"
    check "$mode: the program ends with status 1 when its X server does" [ "$STATUS" = 1 ]
    check "$mode: it says the display went away" grep -q "^The display .* went away" "$log"
    check "$mode: no process of it is left" wait_until none_left
done

finish display-lost
