#!/usr/bin/env bash
# The program in Wayland sessions: natively and on Xwayland under Weston, natively under sway (run
# as an unprivileged user, as it must be): the start question, F1's switches, Escape, and the
# compositor ending under the program; each check says what it holds.
# Usage: wayland_e2e.sh PROGRAM
#        wayland_e2e.sh PROGRAM COMPOSITOR [SCALE]   (sway, mutter, kwin or weston: only the desktop
#        checks there, and with SCALE (sway, kwin) the size of a full-screen snapshot at that output scale)
set -uo pipefail
program=$(realpath "$1")
. "$(dirname "$(realpath "$0")")/program_run.sh"
. "$e2e_dir/../../tools/wayland_session.sh"

# Stops the session and whatever the run left going, and removes its folder.
cleanup_session() {
    stop_session
    cleanup
}
trap cleanup_session EXIT

# Whether the program has a child process: the dialog program that asks its question.
box_open() {
    [ -n "$(pgrep -P "$pid")" ]
}

# Types KEY once a second until the command holds, for up to 10 seconds: the window it is meant
# for may not have the keyboard yet.
type_until() {  # type_until KEY COMMAND...
    for tick in $(seq 100); do
        [ $((tick % 10)) = 1 ] && type_keys "$1"
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}

# Whether the dialog program has gone.
box_closed() {
    ! box_open
}

# Answers the question in the dialog program with that key.
answer_box() {  # answer_box KEY
    wait_until box_open && type_until "$1" box_closed
}

# The snapshot in the work folder, once one is there and whole.
written_snapshot() {
    local file
    for file in "$work"/snap_*.png; do
        [ -f "$file" ] && pngcheck -q "$file" >/dev/null 2>&1 && echo "$file" && return 0
    done
    return 1
}

# Types P until a snapshot is written; sets SHOT_SIZE and SHOT_COLOURS (its number of colours)
# and removes it.
take_snapshot() {
    local file
    file=$(type_until p written_snapshot) || return 1
    SHOT_SIZE=$(png_size "$file")
    SHOT_COLOURS=$(identify -format %k "$file" 2>/dev/null)
    rm -f "$work"/snap_*.png
}

# Whether the last snapshot has that size.
shot_size_is() {
    [ "$SHOT_SIZE" = "$1" ] && return 0
    echo "the snapshot is $SHOT_SIZE"
    return 1
}

# Whether the last snapshot shows a picture: a blank window has a single colour.
shot_drawn() {
    [ "${SHOT_COLOURS:-0}" -gt 100 ]
}

# Whether the next snapshot shows a picture of that size.
next_shot_drawn_at() {  # next_shot_drawn_at SIZE
    take_snapshot && shot_size_is "$1" && shot_drawn
}

# Whether the last snapshot shows a framed window: FRAMED_SIZE large where that is known, else
# smaller than the output (a tiling compositor sizes it to its tile).
shot_framed() {
    [ -n "${FRAMED_SIZE:-}" ] && { shot_size_is "$FRAMED_SIZE"; return; }
    [ "$SHOT_SIZE" != "$SESSION_SIZE" ] && return 0
    echo "the snapshot is $SHOT_SIZE, the output's size"
    return 1
}

# Whether the next snapshot shows a drawn picture in a framed window.
next_shot_framed() {
    take_snapshot && shot_framed && shot_drawn
}

# Whether the program has opened that many windows in the sway session, its question's included,
# as sway's logged window events tell; says how many if not.
sway_windows_opened_are() {  # sway_windows_opened_are COUNT
    local opened
    opened=$(grep -c '"change": "new"' "$work/sway_events")
    [ "$opened" = "$1" ] && return 0
    echo "$opened windows opened"
    return 1
}

# Starts the program offered both WAYLAND_DISPLAY and the X server's DISPLAY, as a desktop does,
# and answers its question (SDL asks it on the X server) with that key; $1 names the run.
start_offered_both() {  # start_offered_both NAME KEY
    start_program env XDG_RUNTIME_DIR="$SESSION_RUNTIME" WAYLAND_DISPLAY="$SESSION_SOCKET" "$program"
    require "$1: the question appears" [ -n "$QUESTION" ]
    press_closing "$QUESTION" "$2"
}

# Whether the program runs natively: it takes a snapshot, and has no window on the X server.
runs_natively() {
    take_snapshot && ! window_exists Brindlewick
}

# Types Escape and checks that the program exits with status 0; $1 names the run.
escape_exits() {  # escape_exits NAME
    type_keys Escape
    wait_exit
    check "$1: Escape exits with status 0" [ "$STATUS" = 0 ]
}

# Starts the program on the session's Xwayland, in the work folder.
start_on_xwayland() {
    (cd "$work" && exec_on_xwayland "$program") >>"$log" 2>&1 &
    pid=$!
}

# The checks every compositor is put to, with the program started by START (natively if none),
# of the framed window's size FRAMED where that is known; $1 names the run.
desktop_checks() {  # desktop_checks NAME [START [FRAMED]]
    "${2:-start_natively}"
    FRAMED_SIZE=${3:-}
    require "$1: Escape answers the start question" answer_box Escape
    check "$1: Escape at the question gives a framed window" next_shot_framed
    hold_key F1
    check "$1: F1 held switches to full screen" next_shot_drawn_at "$SESSION_SIZE"
    hold_key F1
    check "$1: F1 held again switches back to a framed window" next_shot_framed
    escape_exits "$1"
}

# Whether Xwayland window $1 is not full-screen.
not_full_screen() {
    ! xwayland_full_screen "$1"
}

# Types KEY on Xwayland and checks that it opens a new window, other than WINDOW, in the state
# STATE tells, and that it gets the keyboard; sets WINDOW to it.
key_opens_xwayland_window() {  # key_opens_xwayland_window KEY STATE WHAT
    local earlier=${WINDOW:-}
    type_keys "$1"
    WINDOW=$(wait_until xwayland_window_exists Brindlewick "$earlier" &&
        xwayland_window_id Brindlewick "$earlier")
    require "$1 opens a new window" [ -n "$WINDOW" ]
    check "$1 gives a $3 window" wait_until "$2" "$WINDOW"
    require "the window after $1 gets the keyboard" wait_until xwayland_has_focus "$WINDOW"
}

# Starts the program natively on the session's Wayland display, in the work folder.
start_natively() {
    (cd "$work" && exec_on_wayland "$program") >>"$log" 2>&1 &
    pid=$!
}

# Ends the compositor and checks that the program ends as on a lost display; $1 says when.
end_compositor_under() {  # end_compositor_under WHEN
    stop_process "$SESSION_PID"
    wait_exit
    check "the compositor ending $1 ends the program with status 1" [ "$STATUS" = 1 ]
    check "it says the Wayland display went away ($1)" \
        grep -q "^The Wayland display $SESSION_SOCKET went away" "$log"
    stop_session
}

# Ends the compositor under the program's window, started natively; $1 names the run.
end_compositor_under_window() {  # end_compositor_under_window NAME
    start_natively
    require "$1: Escape answers the question again" answer_box Escape
    require "$1: the window is up: P writes a snapshot" take_snapshot
    end_compositor_under "under the window ($1)"
}

# A maintainer's run on one compositor: natively, on its Xwayland where it gives the tests one,
# and with a scale, what the program chooses when offered both displays.
if [ $# -ge 2 ]; then
    compositor=$2
    scale=${3:-}
    start_xvfb || exit 1
    require "$compositor starts" "start_$compositor"
    desktop_checks "$compositor"
    end_compositor_under_window "$compositor"
    # Weston's Xwayland has its own checks below; sway's, started as sway's user, refused the
    # tests' root client ("Authorization required"): not tried there.
    if [ "$compositor" = mutter ] || [ "$compositor" = kwin ]; then
        xwayland_option=""
        [ "$compositor" = kwin ] && xwayland_option=--xwayland
        require "$compositor starts with Xwayland" start_with_xwayland "$compositor" $xwayland_option
        desktop_checks "$compositor's Xwayland" start_on_xwayland
        stop_session
    fi
    if [ -n "$scale" ]; then
        case $compositor in
        sway) start_sway "output * scale $scale" ;;
        kwin) start_kwin --scale "$scale" ;;
        *) echo "no scale for $compositor" && exit 1 ;;
        esac
        start_offered_both "$compositor at scale $scale" Return
        take_snapshot
        where=natively
        window_exists Brindlewick && where="on X11"
        echo "$compositor at scale $scale, WAYLAND_DISPLAY and DISPLAY both set: $where," \
            "full-screen snapshot $SHOT_SIZE"
        escape_exits "$compositor at scale $scale"
    fi
    finish "$compositor"
    exit
fi

start_xvfb || exit 1

# Natively on Wayland, and the compositor ending under the window.
require "Weston starts" start_weston
desktop_checks Weston start_natively 1016x704
end_compositor_under_window Weston

# The compositor ending while the question is open.
require "Weston starts again" start_weston
start_natively
require "the question's dialog program starts" wait_until box_open
: >"$log"
end_compositor_under "during the question"

# A session without a seat: no keyboard could steer or end the program there.
require "headless Weston starts" start_headless_weston
start_natively
wait_exit
check "a session without a seat ends the program with status 1" [ "$STATUS" = 1 ]
check "it says the session has no seat" grep -q "^The Wayland display $SESSION_SOCKET has no seat" "$log"
stop_session

# On Weston's Xwayland.
require "Weston starts with Xwayland" start_weston --xwayland
echo "Xwayland is on $XWAYLAND_DISPLAY"
check "Xwayland is on a display of its own" [ "${XWAYLAND_DISPLAY#:}" -ge "$WESTON_FIRST_X_DISPLAY" ]
start_on_xwayland
require "the start question appears" wait_until xwayland_window_exists "Start FullScreen?"
question=$(xwayland_window_id "Start FullScreen?")
require "the question gets the keyboard" wait_until xwayland_has_focus "$question"
WINDOW=""
key_opens_xwayland_window Return xwayland_full_screen full-screen
key_opens_xwayland_window F1 not_full_screen "framed, not full-screen,"
key_opens_xwayland_window F1 xwayland_full_screen "full-screen again"
escape_exits "Weston's Xwayland"
stop_session

# Natively on sway. A short keyboard delay makes a repeat that outlives its window show at once.
require "sway starts" start_sway "input type:keyboard repeat_delay 100"
SWAYSOCK=$(find "$SESSION_RUNTIME" -maxdepth 1 -name 'sway-ipc.*' | head -n1) \
    timeout 300 swaymsg -t subscribe -m '["window"]' >"$work/sway_events" 2>&1 &
desktop_checks sway
check "sway: the held F1 opened one window each time: four with the question's" \
    sway_windows_opened_are 4
start_offered_both "sway, both displays" Escape
check "sway: with WAYLAND_DISPLAY and DISPLAY both set, the program runs natively" runs_natively
escape_exits "sway, both displays"
stop_session

finish wayland
