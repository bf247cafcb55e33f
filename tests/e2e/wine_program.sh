#!/usr/bin/env bash
# Starts brindlewick.exe under Wine, as the end-to-end run starts a program: in the current
# directory, its exit status passed on. run_wine.sh sets WINE_LOADER and BRINDLEWICK_EXE.
exec "$WINE_LOADER" "$BRINDLEWICK_EXE"
