#!/usr/bin/env bash
# With no window system within reach, the program says it cannot make its window, once what
# would help, and ends, instead of running somewhere nobody can see or stop it.
set -uo pipefail
program=$(realpath "$1")
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT

# No driver asked for, an X display and a Wayland socket that do not exist.
status=0
env -u SDL_VIDEODRIVER DISPLAY=:65000 WAYLAND_DISPLAY=brindlewick-none \
    timeout 20 "$program" 2>"$errors" || status=$?

if [ "$status" = 124 ]; then
    echo "FAILED: still running after 20 s without a window system"
    exit 1
fi
if ! grep -qx "Error: Error Creating OpenGL Window" "$errors"; then
    echo "FAILED: no window error reported (exit status $status); it wrote:"
    cat "$errors"
    exit 1
fi
if [ "$(grep -c "^No display to open a window on (.*): start it from a desktop session" "$errors")" != 1 ]; then
    echo "FAILED: not told once what would help; it wrote:"
    cat "$errors"
    exit 1
fi
echo "ok: the window error is reported and the program ends with status $status"
