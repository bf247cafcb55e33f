#!/usr/bin/env bash
# The committed masks and icons are what the generators make: make_masks and make_icons write
# into a fresh folder, and each file there must equal the committed one byte for byte or, where
# another libjpeg, libpng or zlib encodes the same picture in other bytes, pixel for pixel. No
# committed one may be missing from what they make, and they make nothing that is not committed.
# Usage: generated_resources.sh MAKE_MASKS MAKE_ICONS RESOURCES_DIR ICON_SIZES_FILE
set -uo pipefail
make_masks=$1
make_icons=$2
resources=$(realpath "$3")
sizes=$4
. "$(dirname "$(realpath "$0")")/e2e/checks.sh"
made=$(mktemp -d)
trap 'rm -rf "$made"' EXIT

# Whether two image files hold the same pictures (each of those an icon file holds), alpha too.
same_pixels() {
    local sizes frame
    sizes=$(identify -format '%wx%h\n' "$1" 2>/dev/null) || return 1
    [ "$sizes" = "$(identify -format '%wx%h\n' "$2" 2>/dev/null)" ] || return 1
    for frame in $(seq 0 $(($(wc -l <<<"$sizes") - 1))); do
        [ "$(compare -metric AE "$1[$frame]" "$2[$frame]" null: 2>&1)" = 0 ] || return 1
    done
}

# Whether the generated file at that path below the folders equals the committed one.
same_as_committed() {  # same_as_committed RELATIVE_PATH
    [ -f "$made/$1" ] || { echo "not made by the generators"; return 1; }
    cmp -s "$made/$1" "$resources/$1" && return 0
    echo "other bytes than the committed file; comparing pixels"
    same_pixels "$made/$1" "$resources/$1"
}

# The generated and the committed files, one relative path a line, each once.
all_files() {
    (cd "$resources" && ls ./*.jpg icons/*.png icons/*.ico)
    (cd "$made" && ls ./*.jpg icons/*.png icons/*.ico) 2>/dev/null
}

mkdir "$made/icons"
check "make_masks runs" "$make_masks" "$made"
check "make_icons runs" "$make_icons" "$sizes" "$made/icons"
while read -r file; do
    [ -f "$resources/$file" ] || { fail "$file is made but not committed"; continue; }
    check "$file is what the generators make" same_as_committed "$file"
done < <(all_files | sed 's|^\./||' | sort -u)
verdict "generated resource"
