#!/usr/bin/env bash
# On an X server with only its built-in fonts, where SDL cannot draw its own box, the start
# question is still asked, through zenity, or kdialog where it is the only dialog program of a
# KDE session, with the keys of SDL's box: Return opens full screen, Escape a framed window. A
# signal while the question waits ends the program and its box.
# Usage: builtin_fonts.sh PROGRAM
set -uo pipefail
program=$(realpath "$1")
. "$(dirname "$(realpath "$0")")/program_run.sh"

# Gives the question box the keyboard: with no window manager nothing else does, and zenity's
# box takes no keys sent to a window that does not have it.
focus_question() {
    timeout 2 xdotool windowfocus --sync "$QUESTION" 2>/dev/null
}

# Starts the program with that dialog program and answers its question with that key, typed as
# a user would. kdialog is run alone, as in a KDE session without zenity, on the search path.
answer_with() {  # answer_with DIALOG KEY
    if [ "$1" = kdialog ]; then
        mkdir -p "$work/kdialog_only"
        ln -sf "$(command -v kdialog)" "$work/kdialog_only/kdialog"
        start_program env PATH="$work/kdialog_only" XDG_CURRENT_DESKTOP=KDE "$program"
    else
        start_program "$program"
    fi
    shift
    require "the start question appears" [ -n "$QUESTION" ]
    require "the question box takes the keyboard" wait_until focus_question
    timeout 10 xdotool key "$1"
    timeout 10 xdotool keyup "$1"
}

start_xvfb -fp built-ins || exit 1

for run in "zenity Return full-screen 1024x768" "zenity Escape framed 1016x704" \
    "kdialog Return full-screen 1024x768" "kdialog Escape framed 1016x704"; do
    read -r dialog key mode size <<<"$run"
    answer_with "$dialog" "$key"
    window=$(wait_for_window Brindlewick)
    require "a window opens after $key ($dialog)" [ -n "$window" ]
    check "$key in $dialog opens a $mode window of $size" wait_until has_size "$window" "$size"
    press_closing "$window" Escape
    wait_exit
    check "Escape then exits with status 0" [ "$STATUS" = 0 ]
done

start_program "$program"
require "the start question appears" [ -n "$QUESTION" ]
kill -TERM "$pid"
wait_exit
check "SIGTERM during the question exits with status 0" [ "$STATUS" = 0 ]
check "the question box goes with the program" wait_until window_gone "$QUESTION"

finish built-in-fonts
