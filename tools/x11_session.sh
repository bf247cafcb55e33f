# Helpers for driving the program on a virtual X server. Sourced, not run.

# Starts Xvfb on a free display with a 1024x768 screen; sets DISPLAY and XVFB_PID.
start_xvfb() {
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do
        xwininfo -root >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    return 1
}

# Stops the Xvfb that start_xvfb started.
stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
}

# Prints the id of the top-level window with exactly that title (xdotool cannot match SDL's
# UTF-8 names, xwininfo can).
window_id() {
    xwininfo -root -children 2>/dev/null | awk -v name="\"$1\":" 'index($0, name) { print $1; exit }'
}

# Waits up to $2 seconds (default 10) for a window with that title; prints its id.
wait_for_window() {
    local id
    for _ in $(seq $((${2:-10} * 10))); do
        id=$(window_id "$1")
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Prints the size of a window's client area as WIDTHxHEIGHT.
window_size() {
    xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}

# Sends keys to a window.
press() {
    local window=$1
    shift
    xdotool key --window "$window" "$@" 2>/dev/null
}
