# The Wine the Windows tests run: 64-bit, quiet, in a prefix of their own that is made once and
# kept. Sourced, not run; wine_prefix PREFIX_DIR sets it up and ends its server on exit.
# shellcheck shell=bash
export WINE_LOADER WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINEARCH
# The 64-bit loader itself: Debian's wine wrapper warns on every run that wine32 is missing.
WINE_LOADER=/usr/lib/wine/wine64
WINEDEBUG=-all                    # Wine's own diagnostics are not the program's output
# No Mono or Gecko installer prompts, and no menu entries made on this machine for shortcuts.
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINEARCH=win64
wineserver=/usr/lib/wine/wineserver

# Ends the prefix's Wine server, so nothing of the run outlives it.
stop_wineserver() {
    timeout 30 "$wineserver" -k 2>/dev/null || true
}

# Uses that prefix, creating it if it is not there yet.
wine_prefix() {  # wine_prefix PREFIX_DIR
    WINEPREFIX=$(realpath -m "$1")
    trap stop_wineserver EXIT
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        timeout 300 "$WINE_LOADER" wineboot --init >/dev/null 2>&1 || { echo "wineboot failed"; return 1; }
        timeout 60 "$wineserver" -w
    fi
    keep_home_out
}

# Makes the prefix's user folders (Pictures, Documents...) folders of the prefix: Wine links them
# to this machine's home, where what the tests save must not land.
keep_home_out() {
    local folder
    for folder in "$WINEPREFIX"/drive_c/users/*/*; do
        [ -L "$folder" ] && rm "$folder" && mkdir "$folder"
    done
    return 0
}
