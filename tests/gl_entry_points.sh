#!/usr/bin/env bash
# Checks that the GL call count misses no call: every GL and GLU function the program's library
# calls ($1) has a counting definition in the count's test source ($2).
# Usage: gl_entry_points.sh LIBRARY TEST_SOURCE
set -euo pipefail
called=$(nm -u --format=just-symbols "$1" | grep -E '^glu?[A-Z]' | sort -u)
[ -n "$called" ] || { echo "no GL function found in $1" >&2; exit 1; }
counted=$(sed -n 's/^COUNTED([^,]*, *\(glu\{0,1\}[A-Za-z0-9]*\),.*/\1/p' "$2" | sort -u)
missing=$(comm -23 <(echo "$called") <(echo "$counted"))
if [ -n "$missing" ]; then
    echo "GL functions the program calls that the count does not see:" $missing >&2
    exit 1
fi
