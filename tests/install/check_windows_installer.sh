#!/usr/bin/env bash
# The Windows downloads, tried under Wine: the portable zip holds the program and its read-me;
# the installer installs silently (program, Start-menu shortcut with its icon, uninstall entry),
# the installed program passes the end-to-end run, a later version replaces an earlier one in
# place, and uninstalling removes all it installed but not the snapshots the user saved.
# Usage: check_windows_installer.sh WINDOWS_BUILD VERSION WM_CLOSE FOLD_SYMMETRY PREFIX_DIR
set -uo pipefail
here=$(dirname "$(realpath "$0")")
e2e=$here/../e2e
build=$(realpath "$1")
version=$2
wm_close=$3
fold_symmetry=$4
msi=$build/brindlewick-$version-x64.msi
zip=$build/brindlewick-$version-windows-x64.zip
earlier=0.0.1  # below every release
. "$e2e/wine_env.sh"
. "$e2e/checks.sh"
. "$here/../../tools/x11_session.sh"

# Ends what the run started: the program, the X server, the Wine server; removes its folder.
cleanup() {
    [ -n "$pid" ] && stop_process "$pid"
    stop_xvfb
    stop_wineserver
    rm -rf "$work"
}

# msiexec and reg need no display; the program's runs below start their own X server.
unset DISPLAY
wine_prefix "$5" || exit 1
work=$(mktemp -d)
pid=""
trap cleanup EXIT
drive_c=$WINEPREFIX/drive_c
installed=$drive_c/Program\ Files/Brindlewick
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# The Windows path of a file of this machine, on Wine's drive Z:.
windows_path() {
    local path
    path=$(realpath "$1")
    echo "Z:${path//\//\\}"
}

# The path on this machine of a path on the prefix's drive C:.
unix_path() {
    local path=${1#[Cc]:\\}
    path=${path//\\//}
    echo "$drive_c/${path%/}"
}

# Runs msiexec silently: msiexec /i|/x PACKAGE.
msiexec_quiet() {
    timeout 120 "$WINE_LOADER" msiexec "$1" "$2" /qn
}

# The uninstall entries, one value a line: KEY<tab>NAME<tab>VALUE.
uninstall_values() {
    timeout 60 "$WINE_LOADER" reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | awk '
        /^HKEY_/ { key = $0; sub(/.*\\/, "", key); next }
        match($0, /^    [^ ]+    REG_[A-Z_]+    ?/) {
            split(substr($0, 5), parts, "    ")
            print key "\t" parts[1] "\t" substr($0, RLENGTH + 1)
        }'
}

# The product codes of the uninstall entries named Brindlewick.
brindlewick_entries() {
    uninstall_values | awk -F'\t' '$2 == "DisplayName" && $3 == "Brindlewick" { print $1 }'
}

# A value of the one Brindlewick entry.
entry_value() {  # entry_value NAME
    local code
    code=$(brindlewick_entries)
    uninstall_values | awk -F'\t' -v code="$code" -v name="$1" '$1 == code && $2 == name { print $3 }'
}

# Whether there is exactly one Brindlewick entry, of that version, by the publisher.
one_entry_of() {  # one_entry_of VERSION
    local count
    count=$(brindlewick_entries | wc -l)
    [ "$count" = 1 ] || { echo "$count uninstall entries"; return 1; }
    [ "$(entry_value DisplayVersion)" = "$1" ] && [ "$(entry_value Publisher)" = "Brindlewick developers" ]
}

# The Start-menu shortcut: in the common Start menu on Windows, the user's under Wine.
shortcut() {
    find "$drive_c" -path '*/Start Menu/Programs/Brindlewick.lnk' 2>/dev/null | head -n1
}

# The Windows paths the shortcut holds in UTF-16: its working folder and its icon.
shortcut_paths() {
    strings -e l "$(shortcut)" | grep -oE '[A-Za-z]:\\.*'
}

# Whether the shortcut starts the installed program, with the installer's copy of its icon.
shortcut_ok() {
    local lnk icon
    lnk=$(shortcut)
    [ -n "$lnk" ] || { echo "no shortcut"; return 1; }
    strings "$lnk" | grep -xF 'C:\Program Files\Brindlewick\brindlewick.exe' >/dev/null ||
        return 1
    icon=$(shortcut_paths | grep -i '\.ico$')
    [ -n "$icon" ] && cmp -s "$(unix_path "$icon")" "$here/../../resources/icons/brindlewick.ico"
}

# The folder the shortcut starts the program in, as a path of this machine.
start_folder() {
    unix_path "$(shortcut_paths | grep -E '\\$')"
}

# Whether the folder is there, outside Program Files.
outside_program_files() {
    [ -d "$1" ] && [[ $1 != "$drive_c/Program Files"* ]]
}

# Whether the installer names the icon of its entry in Settings > Apps (Wine does not write it
# into the entry, Windows does). Here and below grep reads to the end without -q: msiinfo
# writes line by line, and with pipefail grep's early exit would fail it with SIGPIPE.
entry_icon_named() {
    msiinfo export "$msi" Property | grep -xP 'ARPPRODUCTICON\tbrindlewick.ico\r?' >/dev/null
}

# Builds WORK/NAME.msi, an installer of that version from the same .wxs; like every build of
# the installer, it has a product code of its own.
installer_of() {  # installer_of VERSION NAME
    cp "$build/brindlewick.exe" "$build/brindlewick.ico" "$work/"
    sed "s/Version=\"$version\"/Version=\"$1\"/" "$build/brindlewick.wxs" >"$work/$2.wxs"
    (cd "$work" && wixl --arch x64 --output "$2.msi" "$2.wxs" 2>/dev/null)
}

# Whether the zip holds the program as built and a read-me naming its version.
zip_ok() {
    local folder=brindlewick-$version
    cmp -s <(unzip -p "$zip" "$folder/brindlewick.exe") "$build/brindlewick.exe" &&
        unzip -p "$zip" "$folder/README.txt" | grep "version $version" >/dev/null
}

# Whether the folder holds a snapshot.
has_snapshot() {
    ls "$1"/snap_*.png >/dev/null 2>&1
}

# Starts the installed program in FOLDER as the shortcut does, answers No, saves one snapshot
# and quits; prints the snapshot's name. A step that fails is named on stderr, with what the
# program wrote.
save_snapshot() {  # save_snapshot FOLDER
    local question window step="the start question"
    (cd "$1" && exec "$WINE_LOADER" "$installed/brindlewick.exe") >"$work/program.log" 2>&1 &
    pid=$!
    if question=$(wait_for_window "Start FullScreen?"); then
        # Wine's box may close on the key's press, and xdotool then fails on the release.
        press_closing "$question" n
        step="the window"
        if window=$(wait_for_window Brindlewick) && press "$window" p; then
            step="the snapshot"
            wait_until has_snapshot "$1" && step=""
            press_closing "$window" Escape
        fi
    fi
    [ -z "$step" ] ||
        echo "$step did not appear; the program wrote: $(cat "$work/program.log")" >&2
    wait_until process_gone "$pid" || stop_process "$pid"
    pid=""
    ls "$1"/snap_*.png 2>/dev/null | head -n1
}

check "the zip holds brindlewick.exe and its read-me" zip_ok
# A run cut short leaves its installation behind; each run starts with none.
for code in $(brindlewick_entries); do
    msiexec_quiet /x "$code"
done
check "no earlier installation is left" [ -z "$(brindlewick_entries)" ]
check "an installer of version $earlier builds" installer_of "$earlier" earlier
check "version $version builds again" installer_of "$version" again
check "version $earlier installs silently" msiexec_quiet /i "$(windows_path "$work/earlier.msi")"
check "its uninstall entry says $earlier" one_entry_of "$earlier"
check "version $version installs silently over it" msiexec_quiet /i "$(windows_path "$work/again.msi")"
check "one uninstall entry is left, of version $version" one_entry_of "$version"
check "another build of the same version installs over that" msiexec_quiet /i "$(windows_path "$msi")"
check "one uninstall entry is left, of version $version" one_entry_of "$version"
check "the entry uninstalls with msiexec" grep -qi 'msiexec.exe /x{' <<<"$(entry_value UninstallString)"
check "the entry's icon is the program's" entry_icon_named
check "the program is installed under Program Files" cmp -s "$installed/brindlewick.exe" "$build/brindlewick.exe"
check "the Start-menu shortcut starts it, with its icon" shortcut_ok
pictures=$(start_folder)
check "the shortcut starts it outside Program Files: $pictures" outside_program_files "$pictures"

# A Wine server started without a display, for msiexec and reg, would open no windows.
stop_wineserver
check "the installed program passes the end-to-end run" \
    "$e2e/run_wine.sh" "$installed/brindlewick.exe" "$wm_close" "$fold_symmetry" "$WINEPREFIX"

start_xvfb || exit 1
rm -f "$pictures"/snap_*.png
snapshot=$(save_snapshot "$pictures")
check "the installed program saves a snapshot where the shortcut starts it" [ -n "$snapshot" ]
stop_xvfb

check "version $version uninstalls silently" msiexec_quiet /x "$(windows_path "$msi")"
check "no uninstall entry is left" [ -z "$(brindlewick_entries)" ]
check "the program's folder is gone" [ ! -e "$installed" ]
check "the shortcut is gone" [ -z "$(shortcut)" ]
check "the snapshot saved before is still there" [ -n "$snapshot" -a -f "$snapshot" ]
rm -f "$snapshot"

verdict "Windows installer"
echo "all checks of the Windows installer passed"
