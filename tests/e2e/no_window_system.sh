#!/usr/bin/env bash
# With no window system within reach, the program says it cannot make its window, once what
# would help, and ends with status 1, instead of running somewhere nobody can see or stop it or
# telling its launcher that all went well. Its boxes, the start question among them, reach stderr
# too, also where zenity is installed and cannot show them either.
set -uo pipefail
program=$(realpath "$1")
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
failures=0

# Runs the program with no video driver asked for and these env arguments (options first);
# says whether it reported the failure as a user and a launcher need.
expect_no_window() {
    local case=$1 status=0
    shift
    env -u SDL_VIDEODRIVER "$@" timeout 20 "$program" 2>"$errors" || status=$?
    if [ "$status" = 124 ]; then
        echo "FAILED ($case): still running after 20 s without a window system"
    elif ! grep -qx "Error: Error Creating OpenGL Window" "$errors"; then
        echo "FAILED ($case): no window error reported (exit status $status); it wrote:"
        cat "$errors"
    elif ! grep -qx "Start FullScreen?: Would You Like To Run In Fullscreen Mode?" "$errors"; then
        echo "FAILED ($case): the start question did not reach stderr; it wrote:"
        cat "$errors"
    elif [ "$(grep -c "^No display to open a window on (.*): start it from a desktop session" "$errors")" != 1 ]; then
        echo "FAILED ($case): not told once what would help; it wrote:"
        cat "$errors"
    elif [ "$status" != 1 ]; then
        echo "FAILED ($case): exit status $status after failing to open its window, not 1"
    else
        echo "ok ($case): the window error is reported and the program ends with status 1"
        return 0
    fi
    failures=$((failures + 1))
}

command -v zenity >/dev/null || { echo "FAILED: zenity is not installed (tools/setup.sh)"; exit 1; }
expect_no_window "no display named" -u DISPLAY -u WAYLAND_DISPLAY
expect_no_window "no server on the display" -u WAYLAND_DISPLAY DISPLAY=:65000
expect_no_window "a display host that does not resolve" -u WAYLAND_DISPLAY \
    DISPLAY=brindlewick-none.invalid:0
expect_no_window "no compositor on the Wayland socket" -u DISPLAY WAYLAND_DISPLAY=brindlewick-none
expect_no_window "neither" DISPLAY=:65000 WAYLAND_DISPLAY=brindlewick-none
[ "$failures" = 0 ]
