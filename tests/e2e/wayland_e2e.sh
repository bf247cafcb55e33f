#!/usr/bin/env bash
# The program in a Weston session. Natively on Wayland: the start question answered with Escape
# gives a framed window, P writes a drawn snapshot, F1 twice switches to full screen and back,
# Escape exits 0, and the compositor ending ends the program with status 1 and a line saying
# so, also while the question is open; a session without a seat ends it at once with status 1
# and a line saying why. On Weston's Xwayland: Return gives a window the window manager holds
# full-screen, F1 twice leaves it framed and makes it full-screen again, and Escape exits 0.
# Natively on sway (run as an unprivileged user, as it must be): F1 held as a person holds it
# switches once (one new window), held again switches back, Escape exits 0; offered both
# WAYLAND_DISPLAY and DISPLAY, the program runs natively there.
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

# Answers the question in the dialog program with that key, typed once a second until the box
# takes it: the box may not have the keyboard yet when its process starts.
answer_box() {  # answer_box KEY
    wait_until box_open || return 1
    for tick in $(seq 100); do
        box_open || return 0
        [ $((tick % 10)) = 1 ] && type_keys "$1"
        sleep 0.1
    done
    return 1
}

# The snapshot in the work folder, once one is there and whole.
written_snapshot() {
    local file
    for file in "$work"/snap_*.png; do
        [ -f "$file" ] && pngcheck -q "$file" >/dev/null 2>&1 && echo "$file" && return 0
    done
    return 1
}

# Types P once a second until a snapshot is written (the window may not have the keyboard
# yet) and sets SHOT_SIZE to its size and SHOT_COLOURS to its number of colours; the file
# is removed, so each call sees its own.
take_snapshot() {
    local file=""
    for tick in $(seq 100); do
        [ $((tick % 10)) = 1 ] && type_keys p
        file=$(written_snapshot) && break
        sleep 0.1
    done
    [ -n "$file" ] || return 1
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

# Whether the last snapshot is smaller than the output: a framed window (a tiling compositor
# sizes it to its tile).
shot_framed() {
    [ "$SHOT_SIZE" != "$SESSION_SIZE" ] && return 0
    echo "the snapshot is $SHOT_SIZE, the output's size"
    return 1
}

# Whether the next snapshot shows a framed window.
next_shot_framed() {
    take_snapshot && shot_framed
}

# Prints how many windows the program has opened so far in the sway session, its question's
# included, as sway's window events logged by watch_sway_windows tell.
sway_windows_opened() {
    grep -c '"change": "new"' "$work/sway_events"
}

# Whether the program has opened that many windows in the sway session; says how many if not.
sway_windows_opened_are() {  # sway_windows_opened_are COUNT
    local opened
    opened=$(sway_windows_opened)
    [ "$opened" = "$1" ] && return 0
    echo "$opened windows opened"
    return 1
}

# Starts the program with both the session's WAYLAND_DISPLAY and the virtual X server's DISPLAY,
# as a desktop offers them, and answers its question, which SDL asks on the X server (in a
# desktop, the session's Xwayland) before it chooses, with that key; $1 names the run.
start_offered_both() {  # start_offered_both NAME KEY
    local question
    (cd "$work" && exec env XDG_RUNTIME_DIR="$SESSION_RUNTIME" WAYLAND_DISPLAY="$SESSION_SOCKET" \
        "$program") >>"$log" 2>&1 &
    pid=$!
    question=$(wait_for_window "Start FullScreen?")
    require "$1: the question appears" [ -n "$question" ]
    press_closing "$question" "$2"
}

# Whether the program runs natively: it takes a snapshot, and has no window on the X server.
runs_natively() {
    take_snapshot && ! window_exists Brindlewick
}

# Logs sway's window events into the work folder from now on.
watch_sway_windows() {
    SWAYSOCK=$(find "$SESSION_RUNTIME" -maxdepth 1 -name 'sway-ipc.*' | head -n1) \
        timeout 300 swaymsg -t subscribe -m '["window"]' >"$work/sway_events" 2>&1 &
}

# Starts the program on the session's Xwayland, in the work folder.
start_on_xwayland() {
    (cd "$work" && exec_on_xwayland "$program") >>"$log" 2>&1 &
    pid=$!
}

# The checks every desktop's compositor is put to, natively or as that function starts the
# program ($1 names the run): Escape at the start question gives a framed window, F1 held as a
# person holds it switches to full screen once, and back again, and Escape exits 0.
desktop_checks() {  # desktop_checks NAME [START]
    "${2:-start_natively}"
    require "$1: Escape answers the start question" answer_box Escape
    check "$1: Escape at the question gives a framed window" next_shot_framed
    hold_key F1
    check "$1: F1 held switches to full screen" next_shot_drawn_at "$SESSION_SIZE"
    hold_key F1
    check "$1: F1 held again switches back to a framed window" next_shot_framed
    type_keys Escape
    wait_exit
    check "$1: Escape exits with status 0" [ "$STATUS" = 0 ]
}

# Whether Xwayland window $1 is not full-screen.
not_full_screen() {
    ! xwayland_full_screen "$1"
}

# Starts the program natively on the session's Wayland display, in the work folder.
start_natively() {
    (cd "$work" && exec_on_wayland "$program") >>"$log" 2>&1 &
    pid=$!
}

# Ends the compositor and checks that the program ended with it as a lost display: status 1
# and the line saying so; $1 says when.
end_compositor_under() {  # end_compositor_under WHEN
    stop_process "$SESSION_PID"
    wait_exit
    check "the compositor ending $1 ends the program with status 1" [ "$STATUS" = 1 ]
    check "it says the Wayland display went away ($1)" \
        grep -q "^The Wayland display $SESSION_SOCKET went away" "$log"
    stop_session
}

# A maintainer's run on one compositor: the desktop checks natively, the compositor ending under
# the window, the desktop checks on its Xwayland, and with a scale the size of a full-screen snapshot where the session offers both
# Wayland and X11 (the program chooses).
if [ $# -ge 2 ]; then
    compositor=$2
    scale=${3:-}
    start_xvfb || exit 1
    require "$compositor starts" "start_$compositor"
    desktop_checks "$compositor"
    start_natively
    require "$compositor: Escape answers the question again" answer_box Escape
    require "$compositor: the window is up" take_snapshot
    end_compositor_under "under the window ($compositor)"
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
        type_keys Escape
        wait_exit
    fi
    finish "$compositor"
    exit
fi

start_xvfb || exit 1

# Natively on Wayland.
require "Weston starts" start_weston
start_natively
require "Escape answers the start question" answer_box Escape
require "P writes a snapshot" take_snapshot
check "Escape at the question gives a framed window: a 1016x704 snapshot" shot_size_is 1016x704
check "the snapshot shows a drawn picture" shot_drawn
type_keys F1
check "F1 switches to full screen: a drawn 1024x768 snapshot" next_shot_drawn_at 1024x768
type_keys F1
check "F1 again switches back to a framed window" next_shot_drawn_at 1016x704
type_keys Escape
wait_exit
check "Escape exits with status 0" [ "$STATUS" = 0 ]

# The compositor ending under the window.
start_natively
require "Escape answers the question again" answer_box Escape
require "the window is up: P writes a snapshot" take_snapshot
end_compositor_under "under the window"

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
(cd "$work" && exec_on_xwayland "$program") >>"$log" 2>&1 &
pid=$!
require "the start question appears" wait_until xwayland_window_exists "Start FullScreen?"
question=$(xwayland_window_id "Start FullScreen?")
require "the question gets the keyboard" wait_until xwayland_has_focus "$question"
type_keys Return
full=$(wait_until xwayland_window_exists Brindlewick && xwayland_window_id Brindlewick)
require "a window opens after Return" [ -n "$full" ]
check "Return gives a full-screen window" wait_until xwayland_full_screen "$full"
require "the window gets the keyboard" wait_until xwayland_has_focus "$full"
type_keys F1
framed=$(wait_until xwayland_window_exists Brindlewick "$full" &&
    xwayland_window_id Brindlewick "$full")
require "F1 opens a new window" [ -n "$framed" ]
check "the new window is framed, not full-screen" not_full_screen "$framed"
require "the framed window gets the keyboard" wait_until xwayland_has_focus "$framed"
type_keys F1
full=$(wait_until xwayland_window_exists Brindlewick "$framed" &&
    xwayland_window_id Brindlewick "$framed")
require "F1 again opens a new window" [ -n "$full" ]
check "the window after F1 again is full-screen" wait_until xwayland_full_screen "$full"
require "that window gets the keyboard" wait_until xwayland_has_focus "$full"
type_keys Escape
wait_exit
check "Escape exits with status 0" [ "$STATUS" = 0 ]
stop_session

# Natively on sway. A short keyboard delay makes a repeat that outlives its window show at once.
require "sway starts" start_sway "input type:keyboard repeat_delay 100"
watch_sway_windows
desktop_checks sway
check "sway: the held F1 opened one window each time: four with the question's" \
    sway_windows_opened_are 4
start_offered_both "sway, both displays" Escape
check "sway: with WAYLAND_DISPLAY and DISPLAY both set, the program runs natively" runs_natively
type_keys Escape
wait_exit
check "sway: Escape exits with status 0 (both displays)" [ "$STATUS" = 0 ]
stop_session

finish wayland
