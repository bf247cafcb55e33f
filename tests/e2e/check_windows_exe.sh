#!/usr/bin/env bash
# Reads brindlewick.exe back: it must be a GUI program importing only system DLLs (so it starts
# on a bare Windows, with no console window) and carry every resource: the three masks, both
# icons, the dialog, the string and the version.
set -uo pipefail
exe=$1
here=$(dirname "$(realpath "$0")")
resources=$here/../../resources
. "$here/checks.sh"

# The DLLs the executable imports, upper-case, one a line.
imports() {
    x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print toupper($3) }' | sort
}

# Whether every import is one of the system DLLs every Windows has.
only_system_imports() {
    local extra
    extra=$(imports | grep -vxE 'KERNEL32.DLL|USER32.DLL|GDI32.DLL|OPENGL32.DLL|GLU32.DLL|MSVCRT.DLL')
    [ -z "$extra" ] || { echo "not a system DLL: $extra"; return 1; }
}

# Whether the executable is a GUI program, which starts with no console window.
gui_subsystem() {
    x86_64-w64-mingw32-objdump -p "$exe" | awk '/^Subsystem/ { gui = /\(Windows GUI\)/ } END { exit !gui }'
}

# Whether the executable holds a resource of that type and name (wrestool's numbers) whose data
# begins with the file resources.txt names (an icon is rebuilt as an .ico, with padding).
holds_file() {  # holds_file TYPE NAME
    local file size raw=()
    [ "$1" = 10 ] && raw=(--raw)  # raw data as it is; icons rebuilt as .ico files
    file=$resources/$(awk -v name="$2" '$1 == name { print $3 }' "$resources/resources.txt")
    [ -f "$file" ] || return 1
    size=$(stat -c %s "$file")
    cmp -s -n "$size" "$file" <(wrestool -x "${raw[@]}" --type="$1" --name="$2" "$exe" 2>/dev/null)
}

# The text of a resource, as raw bytes with the UTF-16 zeros dropped.
resource_text() {  # resource_text TYPE NAME
    wrestool -x --raw --type="$1" --name="$2" "$exe" 2>/dev/null | tr -d '\0'
}

# Whether a resource's text contains that string.
resource_says() {  # resource_says TYPE NAME TEXT
    resource_text "$1" "$2" | grep -F "$3" >/dev/null  # reads it all: no broken pipe
}

[ -f "$exe" ] || { echo "FAILED: no $exe"; exit 1; }
check "a GUI program" gui_subsystem
check "imports only system DLLs: $(imports | tr '\n' ' ')" only_system_imports
for mask in JPEG_DISCS_MASK JPEG_CLOUDS_MASK LOGO_MASK; do
    check "mask $mask as raw data" holds_file 10 "$mask"
done
check "the program's icon" holds_file 14 BRINDLEWICK
check "the small icon" holds_file 14 BRINDLEWICK_SMALL
check "the config dialog's caption" resource_says 5 100 "Config dialog"
check "the config dialog's check box" resource_says 5 100 "Use Mirrors"
check "the config dialog's OK button" resource_says 5 100 "OK"
check "the config dialog's Cancel button" resource_says 5 100 "Cancel"
check "the description string" resource_says 6 1 "Brindlewick, a desktop kaleidoscope"
check "the version's description" resource_says 16 1 "Brindlewick, a desktop kaleidoscope"
check "the version's product name" resource_says 16 1 "ProductName"
[ "$failures" -eq 0 ] || { echo "$failures checks of $exe failed"; exit 1; }
echo "all checks of $exe passed"
