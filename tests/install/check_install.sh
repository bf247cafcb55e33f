#!/usr/bin/env bash
# Installs into a staging folder inside the build folder and makes the Debian package there,
# then checks what a desktop and a package manager will see: every file in its place, the
# desktop entry, metadata and manual page valid and carrying the version and description, icons
# of the size their folder promises, and a package that holds it all, depends on the libraries
# the binary links and passes lintian. Nothing is installed into the system; the folder is
# removed afterwards.
# Usage: check_install.sh BUILD VERSION DESCRIPTION ICON_SIZE...
set -uo pipefail
build=$(realpath "$1")
version=$2
description=$3
shift 3
icon_sizes=("$@")
[ ${#icon_sizes[@]} -gt 0 ] || { echo "usage: $0 BUILD VERSION DESCRIPTION ICON_SIZE..."; exit 2; }
app_id=org.brindlewick.Brindlewick

stage=$(mktemp -d "$build/install-check.XXXXXX")
trap 'rm -rf "$stage"' EXIT
root=$stage/root
. "$(dirname "$(realpath "$0")")/../e2e/checks.sh"

# What must be installed, relative to the prefix.
expected_files() {
    local size
    echo bin/brindlewick
    echo "share/applications/$app_id.desktop"
    echo "share/metainfo/$app_id.metainfo.xml"
    echo share/man/man6/brindlewick.6.gz
    echo share/doc/brindlewick/copyright
    echo share/doc/brindlewick/changelog.gz
    for size in "${icon_sizes[@]}"; do
        echo "share/icons/hicolor/${size}x${size}/apps/brindlewick.png"
    done
}

# The installed tree holds every file, the program runs from where the entry says, and each
# icon is as large as its folder says.
check_tree() {
    local file
    while read -r file; do
        [ -f "$root/usr/$file" ] || fail "not installed: $file"
    done < <(expected_files)
    [ -x "$root/usr/bin/brindlewick" ] || fail "bin/brindlewick is not executable"
    for file in "$root"/usr/share/icons/hicolor/*/apps/brindlewick.png; do
        local folder
        folder=$(basename "$(dirname "$(dirname "$file")")")
        [ "$(png_size "$file")" = "$folder" ] ||
            fail "icon in $folder is $(png_size "$file")"
    done
}

# The desktop entry validates, starts the installed program, names the installed icon and
# carries the description string.
check_desktop_entry() {
    local entry=$root/usr/share/applications/$app_id.desktop
    desktop-file-validate "$entry" || fail "desktop-file-validate: $entry"
    grep -qx "Exec=brindlewick" "$entry" || fail "desktop entry does not start brindlewick"
    grep -qx "Icon=brindlewick" "$entry" || fail "desktop entry does not name the icon"
    grep -qxF "Comment=$description" "$entry" || fail "desktop entry comment is not \"$description\""
}

# Runs appstreamcli's validation command $1 offline on $2. AppStream 1.0 and later warn that no
# homepage is named (url-homepage-missing): the project has no web address yet, and an invented
# one would be worse, so that one warning, and nothing else, is lowered to a note. Earlier
# validators neither give that warning nor know its name.
appstream_validate() {
    local override=()
    dpkg --compare-versions "$(appstreamcli --version | awk '{ print $NF }')" ge 1.0 &&
        override=(--override=url-homepage-missing=info)
    appstreamcli "$1" --no-net "${override[@]}" "$2"
}

# The metadata validates offline and carries the version and the description.
check_metainfo() {
    local metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
    appstream_validate validate "$metainfo" || fail "appstreamcli validate: $metainfo"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "metadata lacks release $version"
    grep -qF "<summary>$description</summary>" "$metainfo" || fail "metadata summary differs"
}

# The manual page formats without a warning, names the version and lists keys and snapshots.
check_manual() {
    local page=$root/usr/share/man/man6/brindlewick.6.gz warnings text
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man --warnings: $warnings"
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
    grep -q "Brindlewick $version" <<<"$text" || fail "manual page lacks version $version"
    for heading in KEYS FILES; do
        grep -qx "$heading" <<<"$text" || fail "manual page lacks its $heading section"
    done
    grep -q "snap_WIDTH_x_HEIGHT_N.png" <<<"$text" || fail "manual page does not name snapshots"
}

# The package has the expected name, holds every installed file, depends on the libraries the
# binary links, and lintian finds no error in it.
check_package() {
    local deb=$stage/package/brindlewick_${version}_amd64.deb listing depends
    if ! cpack -G DEB -B "$stage/package" --config "$build/CPackConfig.cmake" >"$stage/cpack.log" 2>&1; then
        cat "$stage/cpack.log"
        fail "cpack could not make the package"
        return
    fi
    [ -f "$deb" ] || { fail "no package named $(basename "$deb")"; return; }
    listing=$(dpkg-deb --contents "$deb" | awk '{ print $NF }')
    while read -r file; do
        grep -qx "./usr/$file" <<<"$listing" || fail "package lacks /usr/$file"
    done < <(expected_files)
    [ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "package version is not $version"
    depends=$(dpkg-deb --field "$deb" Depends)
    for library in libsdl2 libgl1 libglu1 libjpeg62 libpng16 libc6; do
        grep -q "$library" <<<"$depends" || fail "package does not depend on $library: $depends"
    done
    [ "$(dpkg-deb --field "$deb" Recommends)" = xfonts-base ] ||
        fail "package does not recommend xfonts-base, the core fonts SDL's box is drawn in"
    lintian --fail-on error "$deb" >"$stage/lintian.log" 2>&1 ||
        fail "lintian found errors: $(cat "$stage/lintian.log")"
    # lintian's validation knows no exception: its failure stands only for the missing homepage.
    if grep -q appstream-metadata-validation-failed "$stage/lintian.log"; then
        appstream_validate validate-tree "$root" >"$stage/appstream.log" 2>&1 ||
            fail "lintian: the metadata fails validation: $(cat "$stage/appstream.log")"
    fi
    grep -v -e "root privileges" -e appstream-metadata-validation-failed "$stage/lintian.log"
}

if ! DESTDIR=$root cmake --install "$build" --prefix /usr >"$stage/install.log" 2>&1; then
    cat "$stage/install.log"
    fail "cmake --install"
fi
check_tree
check_desktop_entry
check_metainfo
check_manual
check_package
verdict install
echo "ok: installed tree, desktop entry, metadata, manual page and package"
