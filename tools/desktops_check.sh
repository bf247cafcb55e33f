#!/usr/bin/env bash
# Tries the program natively on the desktops most users have, each compositor nested in a virtual
# X server: Mutter (GNOME), KWin (KDE Plasma) and sway (wlroots), plus Weston. On each: Escape at
# the start question gives a framed window, F1 held as a person holds it switches to full screen
# once and back again, Escape exits 0, and the compositor ending under the window ends the program
# with status 1 and a line; the same checks on Mutter's and KWin's Xwayland; on KWin and sway at
# output scale 2, with both WAYLAND_DISPLAY and DISPLAY offered, the driver the program chooses
# and the size of its full-screen snapshot. ./test runs Weston and sway; run this before landing
# a change to platform/, as root, and put its last results in the README. It installs the
# compositors if they are missing.
# Usage: tools/desktops_check.sh [BUILD_DIR]   (build/ by default; the program must be built)
set -uo pipefail
project=$(cd "$(dirname "$0")/.." && pwd)
. "$project/tools/setup.sh"
program=${1:-$project/build}/brindlewick
# shellcheck disable=SC2086
install_packages $TEST_PACKAGES $DESKTOPS_PACKAGES

status=0
# Runs the checks on one compositor, at that output scale if given; prints their summary.
try() {  # try COMPOSITOR [SCALE]
    local output
    output=$("$project/tests/e2e/wayland_e2e.sh" "$program" "$@" 2>&1)
    local result=$?
    printf '%s\n' "$output" | grep -E '^(FAILED|all |[0-9]+ .* failed)|scale [0-9]+,'
    [ "$result" = 0 ] || status=1
}

try weston
try mutter
try kwin 2
try sway 2
exit "$status"
