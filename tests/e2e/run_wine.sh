#!/usr/bin/env bash
# The end-to-end run of run_e2e.sh for brindlewick.exe under Wine, in a Wine prefix of its own.
# Usage: run_wine.sh EXE WM_CLOSE FOLD_SYMMETRY PREFIX_DIR
set -uo pipefail
here=$(dirname "$(realpath "$0")")
export BRINDLEWICK_EXE WINE_LOADER WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINEARCH
BRINDLEWICK_EXE=$(realpath "$1")
# The 64-bit loader itself: Debian's wine wrapper warns on every run that wine32 is missing.
WINE_LOADER=/usr/lib/wine/wine64
WINEPREFIX=$(realpath -m "$4")
WINEDEBUG=-all                    # Wine's own diagnostics are not the program's output
WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer prompts
WINEARCH=win64
wineserver=/usr/lib/wine/wineserver

# Ends the prefix's Wine server, so nothing of the run outlives it.
stop_wineserver() {
    timeout 30 "$wineserver" -k 2>/dev/null || true
}
trap stop_wineserver EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    timeout 300 "$WINE_LOADER" wineboot --init >/dev/null 2>&1 || { echo "wineboot failed"; exit 1; }
    timeout 60 "$wineserver" -w
fi
# Wine answers Escape in its Yes/No box with IDCANCEL, which the program takes as Yes.
"$here/run_e2e.sh" "$here/wine_program.sh" "$2" "$3" n
