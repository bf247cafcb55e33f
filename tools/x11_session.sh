# Helpers for driving the program on a virtual X server. Sourced, not run.
# shellcheck shell=bash

# Starts Xvfb with a 1024x768 screen on a display number it picks itself, so runs side by side
# cannot collide, with any further Xvfb options given; sets DISPLAY and XVFB_PID. -noreset:
# without it the server resets whenever its last client leaves, and a program connecting during
# the reset finds no X server.
start_xvfb() {
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp "$@" 3>"$number_file" \
        >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        if [ -s "$number_file" ]; then
            DISPLAY=":$(head -n1 "$number_file")"
            export DISPLAY
            rm -f "$number_file"
            return 0
        fi
        sleep 0.1
    done
    rm -f "$number_file"
    echo "Xvfb did not start" >&2
    return 1
}

# Retries a command every tenth of a second for up to 10 seconds; succeeds as soon as it does.
wait_until() {
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Whether that process has ended.
process_gone() {
    ! kill -0 "$1" 2>/dev/null
}

# Stops a process and waits for it, killing it outright if it has not gone within 10 seconds.
stop_process() {
    kill "$1" 2>/dev/null || return 0
    wait_until process_gone "$1" || kill -9 "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# Stops the Xvfb that start_xvfb started.
stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && stop_process "$XVFB_PID"
    XVFB_PID=""
}

# Stops a program if it is given and still runs, then the Xvfb that start_xvfb started.
stop_program_and_xvfb() {  # stop_program_and_xvfb [PID]
    [ -n "${1:-}" ] && stop_process "$1"
    stop_xvfb
}

# Prints the id of the top-level window with exactly that title (xdotool cannot match SDL's
# UTF-8 names, xwininfo can); with a second argument, a window other than that one.
window_id() {
    timeout 10 xwininfo -root -children 2>/dev/null |
        awk -v name="\"$1\":" -v old="${2:-none}" 'index($0, name) && $1 != old { print $1; exit }'
}

# Whether a window with that title exists, other than window $2 if given.
window_exists() {
    [ -n "$(window_id "$@")" ]
}

# Waits up to 10 seconds for a window with that title, other than window $2 if given; prints its id.
wait_for_window() {
    wait_until window_exists "$@" && window_id "$@"
}

# Prints the size of a window's client area as WIDTHxHEIGHT.
window_size() {
    timeout 10 xwininfo -id "$1" 2>/dev/null |
        awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}

# Whether a window's client area has that size.
has_size() {
    [ "$(window_size "$1")" = "$2" ]
}

# Whether a window has been destroyed.
window_gone() {
    ! timeout 10 xwininfo -id "$1" >/dev/null 2>&1
}

# Sends keys to a window.
press() {
    local window=$1
    shift
    timeout 10 xdotool key --window "$window" "$@" 2>/dev/null
}
