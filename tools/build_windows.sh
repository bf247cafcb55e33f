#!/usr/bin/env bash
# Builds brindlewick.exe for 64-bit Windows with MinGW-w64: installs what is missing, cross-builds
# libjpeg-turbo and libpng from Debian's source packages as static libraries (once; they are kept
# in BUILD/windows-deps), then builds BUILD/windows/brindlewick.exe, linked statically.
# Usage: tools/build_windows.sh [BUILD], BUILD the build folder, build/ by default.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh
# shellcheck disable=SC2086
install_packages $WINDOWS_PACKAGES

root=$PWD
build=$(realpath -m "${1:-build}")
deps=$build/windows-deps
prefix=$deps/prefix
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)

# The machine's Debian archive entries as deb-src lines, so the sources come from the same
# mirrors and suites as its packages. The security archive is left out: its source pool is not
# served to every machine, and one missing file fails the whole fetch.
debian_source_entries() {
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] && awk '
            # Prints the stanza just read, one line per URI and suite, if it is a Debian archive.
            function flush(  u, s, nu, ns, uris, suites) {
                if (types ~ /(^| )deb( |$)/ && uri ~ /debian/ && uri !~ /-security/) {
                    nu = split(uri, uris, " ")
                    ns = split(suite, suites, " ")
                    for (u = 1; u <= nu; u++)
                        for (s = 1; s <= ns; s++)
                            print "deb-src " (key ? "[signed-by=" key "] " : "") uris[u] " " \
                                suites[s] " main"
                }
                types = uri = suite = key = ""
            }
            /^[[:space:]]*$/ { flush(); next }
            /^Types:/ { types = substr($0, 7) }
            /^URIs:/ { uri = substr($0, 6) }
            /^Suites:/ { suite = substr($0, 8) }
            /^Signed-By:/ { key = $2 }
            END { flush() }' "$file"
    done
    { cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } |
        awk '$1 == "deb" && /debian/ && !/-security/ { sub(/^deb /, "deb-src "); print }'
    return 0  # a machine may have no file of either kind
}

# Fetches and unpacks Debian's source packages into $deps/src through a private apt
# configuration, so no source is added to the machine's own apt lists.
fetch_sources() {
    local apt_dir=$deps/apt
    rm -rf "$apt_dir" "$deps/src"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$deps/src"
    debian_source_entries >"$apt_dir/sources.list"
    local options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=-"
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
        -o "APT::Sandbox::User=root" -qq)
    apt-get "${options[@]}" update
    (cd "$deps/src" && apt-get "${options[@]}" source "$@" >/dev/null)
    rm -rf "$apt_dir"
}

# Configures, builds and installs one CMake project into $prefix as a static library.
cross_build() {  # cross_build SOURCE_DIR CMAKE_ARGUMENTS...
    local source=$1
    shift
    local binary=$deps/build/$(basename "$source")
    cmake -S "$source" -B "$binary" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
    cmake --build "$binary" -j "$jobs" >/dev/null
    cmake --install "$binary" >/dev/null
}

# Prints the one folder that unpacking source package $1 made; stops if there is none or more.
unpacked_source() {
    local folders=("$deps/src/$1"-*/)
    if [ ${#folders[@]} -ne 1 ] || [ ! -d "${folders[0]}" ]; then
        echo "$0: expected one unpacked $1 folder in $deps/src, found: ${folders[*]}" >&2
        exit 1
    fi
    echo "${folders[0]}"
}

if [ ! -f "$prefix/.complete" ]; then
    echo "Cross-building libjpeg-turbo and libpng from Debian's sources"
    rm -rf "$prefix" "$deps/build"
    fetch_sources libjpeg-turbo libpng1.6
    # Assigned first: a failed substitution inside an argument would not stop the script.
    jpeg_source=$(unpacked_source libjpeg-turbo)
    png_source=$(unpacked_source libpng1.6)
    cross_build "$jpeg_source" -DENABLE_SHARED=OFF -DWITH_SIMD=OFF \
        -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF
    cross_build "$png_source" -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
        -DPNG_EXECUTABLES=OFF -DZLIB_USE_STATIC_LIBS=ON
    rm -rf "$deps/src" "$deps/build"
    touch "$prefix/.complete"
fi

cmake -S . -B "$build/windows" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DBRINDLEWICK_WINDOWS_DEPS="$prefix" -DBRINDLEWICK_TESTS=OFF >/dev/null
cmake --build "$build/windows" -j "$jobs"
echo "Built $build/windows/brindlewick.exe"
