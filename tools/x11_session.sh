# Helpers for driving the program on a virtual X server. Sourced, not run.
# shellcheck shell=bash

# Starts Xvfb with a screen of that size (default 1024x768) on a display number it picks itself,
# so runs side by side cannot collide, with any further Xvfb options given; sets DISPLAY and
# XVFB_PID. -noreset: without it the server resets whenever its last client leaves, and a program
# connecting during the reset finds no X server.
start_xvfb() {  # start_xvfb [WIDTHxHEIGHT] [XVFB_OPTION...]
    local size=1024x768 number_file
    if [[ ${1:-} =~ ^[0-9]+x[0-9]+$ ]]; then
        size=$1
        shift
    fi
    number_file=$(mktemp)
    Xvfb -displayfd 3 -noreset -screen 0 "${size}x24" -nolisten tcp "$@" 3>"$number_file" \
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

# Retries a command every tenth of a second until it succeeds or 10 seconds have passed by the
# clock, so slow tries use the time up rather than add to it: the wait ends at most one try
# after the deadline.
wait_until() {
    local deadline=$((${EPOCHREALTIME//[!0-9]/} + 10000000))  # microseconds
    until "$@"; do
        [ "${EPOCHREALTIME//[!0-9]/}" -lt "$deadline" ] || return 1
        sleep 0.1
    done
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

# Runs xwininfo in a UTF-8 locale: window names are UTF-8, and in the C locale of a fresh
# machine xwininfo prints a conversion failure in place of any name that is not ASCII.
list_windows() {  # list_windows XWININFO_OPTION...
    LC_ALL=C.UTF-8 timeout 10 xwininfo "$@"
}

# Prints the id of the first window with that title in an xwininfo listing read from stdin, other
# than window $2 if given (xdotool cannot match SDL's UTF-8 names, xwininfo can). The title may
# carry a dialog program's own name after a dash, as kdialog 22.12 adds " — KDialog" (24.12 not).
first_window_titled() {  # first_window_titled TITLE [OTHER_THAN]
    awk -v name="\"$1\":" -v named="\"$1 — " -v old="${2:-none}" \
        '(index($0, name) || index($0, named)) && $1 != old { print $1; exit }'
}

# Prints the id of the top-level window with exactly that title, other than window $2 if given.
window_id() {
    list_windows -root -children 2>/dev/null | first_window_titled "$@"
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

# Presses a key that closes the window it goes to (F1, Escape, an answer to a question); the
# release then finds no window, so it is sent on its own, lest the key stay down.
press_closing() {  # press_closing WINDOW KEY
    press "$1" "$2"
    local status=$?
    timeout 10 xdotool keyup "$2" 2>/dev/null
    return "$status"
}
