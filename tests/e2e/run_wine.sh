#!/usr/bin/env bash
# The end-to-end run of run_e2e.sh for brindlewick.exe under Wine, in a Wine prefix of its own.
# Usage: run_wine.sh EXE WM_CLOSE FOLD_SYMMETRY PREFIX_DIR
set -uo pipefail
here=$(dirname "$(realpath "$0")")
. "$here/wine_env.sh"
export BRINDLEWICK_EXE
BRINDLEWICK_EXE=$(realpath "$1")
wine_prefix "$4" || exit 1
# Wine answers Escape in its Yes/No box with IDCANCEL, which the program takes as Yes.
"$here/run_e2e.sh" "$here/wine_program.sh" "$2" "$3" n
