# Helpers for driving the program in a Wayland session: a compositor (Weston, sway, Mutter, KWin)
# nested in a window of a virtual X server, which gives the session a seat (Weston's headless
# backend has none), so keys typed into that X server reach the focused Wayland window. Used by
# the tests and by tools/desktops_check.sh. Sourced after x11_session.sh, not run.
# shellcheck shell=bash

# Display numbers below this are left to real sessions: Weston's Xwayland takes the first free
# one from 0 up, so the free ones below it are held while Weston picks.
WESTON_FIRST_X_DISPLAY=10
# The size of the compositor's one output (its window), the desktop of the programs in the session.
SESSION_SIZE=1024x768

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
    sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$SESSION_LOG" 2>/dev/null | head -n1
}

# Whether the Weston session is ready: its socket is there, and Xwayland's display if asked for.
session_ready() {  # session_ready XWAYLAND: yes or no
    [ -S "$SESSION_RUNTIME/$SESSION_SOCKET" ] || return 1
    [ "$1" = no ] || [ -n "$(xwayland_display)" ]
}

# Starts Weston with those options and a runtime folder, socket and log of its own, and waits
# for its socket; with --xwayland first among them also for Xwayland, which it places on a
# display number of its own at or above WESTON_FIRST_X_DISPLAY. Sets SESSION_PID,
# SESSION_RUNTIME, SESSION_SOCKET, SESSION_LOG and XWAYLAND_DISPLAY.
launch_weston() {  # launch_weston [--xwayland] OPTION...
    local xwayland=no ready
    [ "$1" = --xwayland ] && xwayland=yes
    make_runtime
    SESSION_SOCKET=brindlewick-weston
    [ "$xwayland" = yes ] && hold_low_x_displays
    XDG_RUNTIME_DIR=$SESSION_RUNTIME weston --socket="$SESSION_SOCKET" --no-config --idle-time=0 \
        --log="$SESSION_LOG" "$@" >/dev/null 2>&1 &
    SESSION_PID=$!
    wait_until session_ready "$xwayland"
    ready=$?
    [ "$xwayland" = yes ] && release_low_x_displays
    if [ "$ready" != 0 ]; then
        echo "Weston did not start; its log:" >&2
        cat "$SESSION_LOG" >&2
        return 1
    fi
    [ "$xwayland" = yes ] && XWAYLAND_DISPLAY=$(xwayland_display)
    return 0
}

# Starts Weston in a window on the X server in DISPLAY (start_xvfb first), SESSION_SIZE large,
# and gives that window the X server's keyboard; --xwayland adds Xwayland (see launch_weston).
start_weston() {  # start_weston [--xwayland]
    launch_weston "$@" --backend=x11-backend.so --width="${SESSION_SIZE%x*}" \
        --height="${SESSION_SIZE#*x}" || return 1
    # Keys typed into the X server go to the window that has its focus.
    timeout 10 xdotool windowfocus "$(wait_for_window "Weston Compositor - screen0")" 2>/dev/null
}

# Starts Weston with its headless backend: an output, but no seat.
start_headless_weston() {
    launch_weston --backend=headless-backend.so
}

# The user sway runs as, which refuses root: one every Debian system has.
SESSION_USER=nobody

# Makes the session's runtime folder, owned by user $1 if given; sets SESSION_RUNTIME, SESSION_LOG.
make_runtime() {  # make_runtime [USER]
    SESSION_RUNTIME=$(mktemp -d)
    chmod 700 "$SESSION_RUNTIME"
    [ -n "${1:-}" ] && chown "$1" "$SESSION_RUNTIME"
    SESSION_LOG=$SESSION_RUNTIME/compositor.log
    XWAYLAND_DISPLAY=""
    XWAYLAND_AUTHORITY=""
}

# Prints the Wayland socket a compositor that names its own made in the runtime folder.
own_socket() {
    find "$SESSION_RUNTIME" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' | head -n1
}

# Prints the numbers of the X displays whose sockets exist now, one a line.
x_displays() {
    find /tmp/.X11-unix -maxdepth 1 -name 'X*' -printf '%f\n' 2>/dev/null | tr -d X | sort
}

# Prints the first X display that was not among those given (x_displays' output earlier).
new_x_display() {  # new_x_display EARLIER
    comm -13 <(printf '%s\n' "$1") <(x_displays) | head -n1
}

# Whether an X display has appeared since x_displays printed $1.
x_display_added() {  # x_display_added EARLIER
    [ -n "$(new_x_display "$1")" ]
}

# Starts the compositor with start_$1 and the further arguments, and waits for the Xwayland it
# starts; sets XWAYLAND_DISPLAY, and XWAYLAND_AUTHORITY to the key file Mutter gives its clients.
start_with_xwayland() {  # start_with_xwayland COMPOSITOR [ARGUMENT...]
    local earlier
    earlier=$(x_displays)
    "start_$1" "${@:2}" || return 1
    wait_until x_display_added "$earlier" || return 1
    XWAYLAND_DISPLAY=:$(new_x_display "$earlier")
    XWAYLAND_AUTHORITY=$(find "$SESSION_RUNTIME" -maxdepth 1 -name '.mutter-Xwaylandauth.*')
}

# Whether the compositor has made its own socket.
own_socket_made() {
    [ -n "$(own_socket)" ]
}

# Waits for the compositor $1 started in the background to make its socket (SESSION_SOCKET, or
# the one it names itself when that is empty); sets SESSION_PID and SESSION_SOCKET.
wait_for_compositor() {  # wait_for_compositor NAME
    SESSION_PID=$!
    if [ -z "$SESSION_SOCKET" ]; then
        wait_until own_socket_made && SESSION_SOCKET=$(own_socket)
    fi
    if ! wait_until session_ready no; then
        echo "$1 did not start; its log:" >&2
        cat "$SESSION_LOG" >&2
        return 1
    fi
}

# Starts sway (wlroots) in a window on the X server in DISPLAY, as SESSION_USER, with a
# configuration of those lines (e.g. "output * scale 2").
start_sway() {  # start_sway [CONFIG_LINE...]
    make_runtime "$SESSION_USER"
    SESSION_SOCKET=""
    printf '%s\n' "output * bg #000000 solid_color" "$@" >"$SESSION_RUNTIME/config"
    setpriv --reuid="$SESSION_USER" --regid="$(id -g "$SESSION_USER")" --clear-groups \
        env HOME="$SESSION_RUNTIME" XDG_RUNTIME_DIR="$SESSION_RUNTIME" WLR_BACKENDS=x11 \
        WLR_RENDERER=pixman sway -c "$SESSION_RUNTIME/config" >"$SESSION_LOG" 2>&1 &
    wait_for_compositor sway
}

# Starts Mutter (GNOME) nested in a window on the X server in DISPLAY, with Xwayland, in a D-Bus
# session of its own; SESSION_PID is Mutter's own, so stopping it ends the compositor.
start_mutter() {
    make_runtime
    SESSION_SOCKET=brindlewick-mutter
    XDG_RUNTIME_DIR=$SESSION_RUNTIME MUTTER_DEBUG_DUMMY_MODE_SPECS=1024x768 dbus-run-session -- \
        sh -c 'echo $$ >"$0/mutter.pid"; exec mutter --nested --wayland --wayland-display="$1"' \
        "$SESSION_RUNTIME" "$SESSION_SOCKET" >"$SESSION_LOG" 2>&1 &
    wait_for_compositor Mutter || return 1
    SESSION_PID=$(cat "$SESSION_RUNTIME/mutter.pid")
}

# Starts KWin (KDE Plasma) in a window on the X server in DISPLAY with those further options
# (e.g. --scale 2, --xwayland). A plain copy of the binary runs: the installed one carries a
# file capability that a sandbox may refuse.
start_kwin() {  # start_kwin [OPTION...]
    make_runtime
    SESSION_SOCKET=brindlewick-kwin
    cp "$(command -v kwin_wayland)" "$SESSION_RUNTIME/kwin_wayland"
    XDG_RUNTIME_DIR=$SESSION_RUNTIME "$SESSION_RUNTIME/kwin_wayland" --x11-display "$DISPLAY" \
        --socket "$SESSION_SOCKET" --width "${SESSION_SIZE%x*}" --height "${SESSION_SIZE#*x}" "$@" \
        >"$SESSION_LOG" 2>&1 &
    wait_for_compositor KWin
}

# Stops the compositor that a start_ function started and removes its runtime folder.
stop_session() {
    [ -n "${SESSION_PID:-}" ] && stop_process "$SESSION_PID"
    SESSION_PID=""
    [ -n "${SESSION_RUNTIME:-}" ] && rm -rf "$SESSION_RUNTIME"
    SESSION_RUNTIME=""
}

# Runs a command in place of the shell as a native Wayland client of the session, with no X
# display to fall back on; for a subshell, so that its process id is the command's.
exec_on_wayland() {
    exec env -u DISPLAY XDG_RUNTIME_DIR="$SESSION_RUNTIME" WAYLAND_DISPLAY="$SESSION_SOCKET" \
        SDL_VIDEODRIVER=wayland "$@"
}

# Runs a command in place of the shell as an X client of the session's Xwayland.
exec_on_xwayland() {
    exec env -u WAYLAND_DISPLAY DISPLAY="$XWAYLAND_DISPLAY" \
        ${XWAYLAND_AUTHORITY:+XAUTHORITY="$XWAYLAND_AUTHORITY"} SDL_VIDEODRIVER=x11 "$@"
}

# Prints the id of the Xwayland window with exactly that title, other than window $2 if given:
# the window manager puts every window in a frame, so the whole tree is searched.
xwayland_window_id() {
    DISPLAY=$XWAYLAND_DISPLAY list_windows -root -tree 2>/dev/null | first_window_titled "$@"
}

# Whether an Xwayland window with that title exists, other than window $2 if given.
xwayland_window_exists() {
    [ -n "$(xwayland_window_id "$@")" ]
}

# Whether Xwayland window $1 is full-screen: in that state, at the screen's origin and size.
xwayland_full_screen() {
    DISPLAY=$XWAYLAND_DISPLAY timeout 10 xprop -id "$1" _NET_WM_STATE 2>/dev/null |
        grep -q _NET_WM_STATE_FULLSCREEN &&
        [ "$(xwayland_geometry "$1")" = "$SESSION_SIZE+0+0" ]
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

# Holds a key down for about as long as a person pressing it does (150 ms), then lets it go.
hold_key() {  # hold_key KEY
    timeout 10 xdotool keydown "$1" sleep 0.15 keyup "$1" 2>/dev/null
}
