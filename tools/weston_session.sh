# Helpers for driving the program in a Weston session: Weston's X11 backend nested in a virtual X
# server, which gives the session a seat (Weston's headless backend has none), so keys typed into
# that X server reach the focused Wayland window. Sourced after x11_session.sh, not run.
# shellcheck shell=bash

# Display numbers below this are left to real sessions: Weston's Xwayland takes the first free
# one from 0 up, so the free ones below it are held while Weston picks.
WESTON_FIRST_X_DISPLAY=10
# The size of Weston's one output, the desktop of the programs in the session.
WESTON_SIZE=1024x768

# Whether X display number $1 is taken: a lock file whose process lives, or a socket.
x_display_taken() {
    local lock=/tmp/.X$1-lock pid
    [ -e "/tmp/.X11-unix/X$1" ] && return 0
    [ -f "$lock" ] || return 1
    pid=$(tr -d ' \n' <"$lock" 2>/dev/null)
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null
}

# Holds every free X display number below WESTON_FIRST_X_DISPLAY with a lock file naming a
# process of ours, as X servers do; sets HELD_LOCKS and LOCK_HOLDER.
hold_low_x_displays() {
    local number
    sleep infinity &
    LOCK_HOLDER=$!
    HELD_LOCKS=()
    for number in $(seq 0 $((WESTON_FIRST_X_DISPLAY - 1))); do
        x_display_taken "$number" && continue
        # noclobber: created only if no one made it meanwhile
        if (set -C && printf '%10d\n' "$LOCK_HOLDER" >"/tmp/.X$number-lock") 2>/dev/null; then
            HELD_LOCKS+=("/tmp/.X$number-lock")
        fi
    done
}

# Gives back the display numbers hold_low_x_displays held.
release_low_x_displays() {
    [ ${#HELD_LOCKS[@]} -gt 0 ] && rm -f "${HELD_LOCKS[@]}"
    HELD_LOCKS=()
    [ -n "${LOCK_HOLDER:-}" ] && stop_process "$LOCK_HOLDER"
    LOCK_HOLDER=""
}

# Prints the X display Weston's Xwayland listens on, from Weston's log; nothing before it does.
xwayland_display() {
    sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$WESTON_LOG" 2>/dev/null | head -n1
}

# Whether the Weston session is ready: its socket is there, and Xwayland's display if asked for.
weston_ready() {  # weston_ready XWAYLAND: yes or no
    [ -S "$WESTON_RUNTIME/$WESTON_SOCKET" ] || return 1
    [ "$1" = no ] || [ -n "$(xwayland_display)" ]
}

# Starts Weston with those options and a runtime folder, socket and log of its own, and waits
# for its socket; with --xwayland first among them also for Xwayland, which it places on a
# display number of its own at or above WESTON_FIRST_X_DISPLAY. Sets WESTON_PID,
# WESTON_RUNTIME, WESTON_SOCKET, WESTON_LOG and XWAYLAND_DISPLAY.
launch_weston() {  # launch_weston [--xwayland] OPTION...
    local xwayland=no ready
    [ "$1" = --xwayland ] && xwayland=yes
    WESTON_RUNTIME=$(mktemp -d)
    chmod 700 "$WESTON_RUNTIME"
    WESTON_SOCKET=brindlewick-weston
    WESTON_LOG=$WESTON_RUNTIME/weston.log
    XWAYLAND_DISPLAY=""
    [ "$xwayland" = yes ] && hold_low_x_displays
    XDG_RUNTIME_DIR=$WESTON_RUNTIME weston --socket="$WESTON_SOCKET" --no-config --idle-time=0 \
        --log="$WESTON_LOG" "$@" >/dev/null 2>&1 &
    WESTON_PID=$!
    wait_until weston_ready "$xwayland"
    ready=$?
    [ "$xwayland" = yes ] && release_low_x_displays
    if [ "$ready" != 0 ]; then
        echo "Weston did not start; its log:" >&2
        cat "$WESTON_LOG" >&2
        return 1
    fi
    [ "$xwayland" = yes ] && XWAYLAND_DISPLAY=$(xwayland_display)
    return 0
}

# Starts Weston in a window on the X server in DISPLAY (start_xvfb first), WESTON_SIZE large,
# and gives that window the X server's keyboard; --xwayland adds Xwayland (see launch_weston).
start_weston() {  # start_weston [--xwayland]
    launch_weston "$@" --backend=x11-backend.so --width="${WESTON_SIZE%x*}" \
        --height="${WESTON_SIZE#*x}" || return 1
    # Keys typed into the X server go to the window that has its focus.
    timeout 10 xdotool windowfocus "$(wait_for_window "Weston Compositor - screen0")" 2>/dev/null
}

# Starts Weston with its headless backend: an output, but no seat.
start_headless_weston() {
    launch_weston --backend=headless-backend.so
}

# Stops the Weston that start_weston started and removes its runtime folder.
stop_weston() {
    [ -n "${WESTON_PID:-}" ] && stop_process "$WESTON_PID"
    WESTON_PID=""
    [ -n "${WESTON_RUNTIME:-}" ] && rm -rf "$WESTON_RUNTIME"
    WESTON_RUNTIME=""
}

# Runs a command in place of the shell as a native Wayland client of the session, with no X
# display to fall back on; for a subshell, so that its process id is the command's.
exec_on_wayland() {
    exec env -u DISPLAY XDG_RUNTIME_DIR="$WESTON_RUNTIME" WAYLAND_DISPLAY="$WESTON_SOCKET" \
        SDL_VIDEODRIVER=wayland "$@"
}

# Runs a command in place of the shell as an X client of the session's Xwayland.
exec_on_xwayland() {
    exec env -u WAYLAND_DISPLAY DISPLAY="$XWAYLAND_DISPLAY" SDL_VIDEODRIVER=x11 "$@"
}

# Prints the id of the Xwayland window with exactly that title, other than window $2 if given:
# the window manager puts every window in a frame, so the whole tree is searched.
xwayland_window_id() {
    DISPLAY=$XWAYLAND_DISPLAY timeout 10 xwininfo -root -tree 2>/dev/null |
        awk -v name="\"$1\":" -v old="${2:-none}" 'index($0, name) && $1 != old { print $1; exit }'
}

# Whether an Xwayland window with that title exists, other than window $2 if given.
xwayland_window_exists() {
    [ -n "$(xwayland_window_id "$@")" ]
}

# Whether Xwayland window $1 is full-screen: in that state, at the screen's origin and size.
xwayland_full_screen() {
    DISPLAY=$XWAYLAND_DISPLAY timeout 10 xprop -id "$1" _NET_WM_STATE 2>/dev/null |
        grep -q _NET_WM_STATE_FULLSCREEN &&
        [ "$(xwayland_geometry "$1")" = "$WESTON_SIZE+0+0" ]
}

# Whether Xwayland window $1 has the keyboard: the window manager gives it the input focus.
xwayland_has_focus() {
    local focus
    focus=$(DISPLAY=$XWAYLAND_DISPLAY timeout 10 xdotool getwindowfocus 2>/dev/null) &&
        [ "$focus" = "$(($1))" ]
}

# Prints an Xwayland window's size and place on the screen as WIDTHxHEIGHT+X+Y.
xwayland_geometry() {
    DISPLAY=$XWAYLAND_DISPLAY timeout 10 xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y }'
}

# Types keys into the session: they reach its focused window.
type_keys() {
    timeout 10 xdotool key "$@" 2>/dev/null
}
