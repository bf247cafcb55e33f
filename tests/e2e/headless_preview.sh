#!/usr/bin/env bash
# Without a display, ./run's preview saves its snapshot in the directory it was started from,
# next to what is there already, and names that file. With a program that never opens a window
# it fails, saying what did not appear and what the program wrote, and leaves nothing running.
# Usage: headless_preview.sh PREVIEW PROGRAM WORK_DIR
set -uo pipefail
preview=$(realpath "$1")
program=$(realpath "$2")
here=$(mktemp -d "$(realpath "$3")/preview.XXXXXX")
trap cleanup EXIT
. "$(dirname "$(realpath "$0")")/checks.sh"
# Well beyond the preview's own waits, so that a preview that hangs fails here instead.
preview_limit=45

# Runs the preview on that program in the current directory, in a session of its own and
# bounded; sets OUTPUT and STATUS. Through a file, not a pipe: a process the preview left
# running would hold a pipe open and keep this waiting.
run_preview() {
    env -u WAYLAND_DISPLAY timeout -k 5 "$preview_limit" setsid "$preview" "$1" >output 2>&1
    STATUS=$?
    OUTPUT=$(cat output)
}

# Ends whatever a failed preview left running in the stand-in's session, and removes the folder.
cleanup() {
    local session
    read -r session <"$here/windowless/session" 2>/dev/null && pkill -KILL -s "$session"
    rm -rf "$here"
}

# Whether the file begins with the PNG signature.
is_png() {
    head -c 8 "$1" | cmp -s - <(printf '\211PNG\r\n\032\n')
}

# Whether the output holds that whole line.
said() {
    grep -qxF "$1" <<<"$OUTPUT"
}

# Whether no process is left in the session whose number that file holds.
session_empty() {
    local session
    read -r session <"$1" 2>/dev/null && [ -n "$session" ] || return 1
    pgrep -s "$session" >/dev/null
    [ $? = 1 ]  # 1: none found; 0 would be some, 2 a bad session number
}

# Writes a stand-in for a program that never opens a window: it notes its session, says so on
# stderr and waits.
write_windowless_program() {
    cat >"$1" <<'PROGRAM'
#!/usr/bin/env bash
ps -o sid= -p $$ >session
echo "stand-in: no window today" >&2
exec sleep 600
PROGRAM
    chmod +x "$1"
}

# Shows what the preview said when a check of that run failed.
show_output_on_failure() {  # show_output_on_failure FAILURES_BEFORE
    [ "$failures" -eq "$1" ] && return 0
    echo "--- the preview said:"
    echo "$OUTPUT"
}

# The real program: one new snapshot, named, and the earlier one left alone.
mkdir "$here/program" && cd "$here/program" || exit 1
touch snap_1024_x_768_1.png  # a snapshot from an earlier run, to be left as it is
run_preview "$program"
new=$(find . -maxdepth 1 -name 'snap_*.png' -size +0 -printf '%f\n')
check "the preview exits with status 0 (status $STATUS)" [ "$STATUS" = 0 ]
check "one new snapshot in the starting directory: '$new'" [ "$(wc -w <<<"$new")" = 1 ]
check "it names the new snapshot" said "Its snapshot is saved here: $new"
check "the new snapshot is a PNG file" is_png "$new"
check "the earlier snapshot is left as it was" [ ! -s snap_1024_x_768_1.png ]
show_output_on_failure 0

# A program that never opens its question or window.
before=$failures
mkdir "$here/windowless" && cd "$here/windowless" || exit 1
write_windowless_program ./windowless
run_preview ./windowless
check "without the question the preview fails with status 1 (status $STATUS)" [ "$STATUS" = 1 ]
check "it says the question did not appear" \
    said "$preview: the program's start question did not appear within 10 seconds"
check "it shows the program's error output" said "stand-in: no window today"
check "it leaves no process of its session running" session_empty session
show_output_on_failure "$before"

verdict preview
