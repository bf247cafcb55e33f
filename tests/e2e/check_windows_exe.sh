#!/usr/bin/env bash
# Reads brindlewick.exe back: it must be a GUI program importing only system DLLs (so it starts
# on a bare Windows, with no console window) and carry every resource: the three masks, both
# icons, the manifest, the dialog, the string and the version.
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
    extra=$(imports | grep -vxE 'KERNEL32.DLL|USER32.DLL|GDI32.DLL|OPENGL32.DLL|GLU32.DLL|MSVCRT.DLL|WINMM.DLL')
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

# The manifest (resource type 24, name 1), one tag a line: the tag, then ">" and its text.
manifest_tags() {
    wrestool -x --raw --type=24 --name=1 "$exe" 2>/dev/null | tr -s ' \t\r\n' ' ' | tr '<' '\n'
}

# Whether the manifest has that element with those attributes (as written) and, if given, that text.
manifest_has() {  # manifest_has ELEMENT ATTRIBUTES [TEXT]
    manifest_tags | awk -F'>' -v element="$1" -v attributes="$2" -v text="${3-}" '
        $1 ~ "^" element "( |$)" && (attributes == "" || index($1, attributes)) &&
            (text == "" || $2 == text) { found = 1 }
        END { exit !found }'
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
check "the manifest's per-monitor DPI awareness" manifest_has dpiAwareness "" PerMonitorV2
check "the manifest's DPI awareness for older Windows" manifest_has dpiAware "" true/pm
check "the manifest's common controls 6" manifest_has assemblyIdentity \
    'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'
check "the manifest's execution level" manifest_has requestedExecutionLevel 'level="asInvoker"'
for os in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
    1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
    check "the manifest's supported OS {$os}" manifest_has supportedOS "Id=\"{$os}\""
done
check "the config dialog's caption" resource_says 5 100 "Config dialog"
check "the config dialog's check box" resource_says 5 100 "Use Mirrors"
check "the config dialog's OK button" resource_says 5 100 "OK"
check "the config dialog's Cancel button" resource_says 5 100 "Cancel"
check "the description string" resource_says 6 1 "Brindlewick, a desktop kaleidoscope"
check "the version's description" resource_says 16 1 "Brindlewick, a desktop kaleidoscope"
check "the version's product name" resource_says 16 1 "ProductName"
verdict "$exe"
echo "all checks of $exe passed"
