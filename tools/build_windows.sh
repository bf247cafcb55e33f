#!/usr/bin/env bash
# Builds brindlewick.exe for 64-bit Windows with MinGW-w64: installs what is missing, cross-builds
# libjpeg-turbo and libpng from Debian's source packages as static libraries (once; they are kept
# in BUILD/windows-deps), then builds BUILD/windows/brindlewick.exe, linked statically.
# Usage: tools/build_windows.sh [BUILD], BUILD the build folder, build/ by default.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh
. tools/debian_sources.sh
# shellcheck disable=SC2086
install_packages $WINDOWS_PACKAGES

root=$PWD
build=$(realpath -m "${1:-build}")
deps=$build/windows-deps
prefix=$deps/prefix
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)

# Fetches and unpacks Debian's source packages, each into $deps/src/PACKAGE, through a private apt
# configuration, so no source is added to the machine's own apt lists. Each is the newest version
# that can be had: the suite's own, or when that cannot be fetched, the previous release's.
fetch_sources() {
    local apt_dir=$deps/apt package
    rm -rf "$apt_dir" "$deps/src"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$deps/src"
    debian_source_lines >"$apt_dir/sources.list"
    apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=-"
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
        -o "APT::Sandbox::User=root" -qq)
    apt-get "${apt_options[@]}" update
    : >"$deps/versions.txt"
    for package in "$@"; do
        fetch_source "$package"
    done
    rm -rf "$apt_dir"
}

# The versions of source package $1 that the private lists offer, newest first.
source_versions() {
    local versions=() version i j
    mapfile -t versions < <(apt-cache "${apt_options[@]}" showsrc --only-source "$1" |
        sed -n 's/^Version: //p' | sort -u)
    for ((i = 1; i < ${#versions[@]}; i++)); do  # insertion sort by Debian's version order
        version=${versions[i]}
        for ((j = i - 1; j >= 0; j--)); do
            dpkg --compare-versions "${versions[j]}" ge "$version" && break
            versions[j + 1]=${versions[j]}
        done
        versions[j + 1]=$version
    done
    printf '%s\n' "${versions[@]}"
}

# Fetches and unpacks the newest version of source package $1 that can be had, and notes it in
# $deps/versions.txt; stops if none can.
fetch_source() {
    local version folder=$deps/src/$1
    for version in $(source_versions "$1"); do
        rm -rf "$folder"
        mkdir "$folder"
        if (cd "$folder" && apt-get "${apt_options[@]}" source "$1=$version" >/dev/null); then
            echo "$1 $version" >>"$deps/versions.txt"
            return
        fi
        echo "Debian's source of $1 $version could not be fetched; trying an earlier one" >&2
    done
    echo "$0: no version of Debian's source package $1 could be fetched" >&2
    exit 1
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
    local folders=("$deps/src/$1/$1"-*/)
    if [ ${#folders[@]} -ne 1 ] || [ ! -d "${folders[0]}" ]; then
        echo "$0: expected one unpacked $1 folder in $deps/src/$1, found: ${folders[*]}" >&2
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
# Which of Debian's sources the libraries were built from.
[ ! -f "$deps/versions.txt" ] ||
    sed 's/^/Windows libraries: Debian source package /' "$deps/versions.txt"

cmake -S . -B "$build/windows" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DBRINDLEWICK_WINDOWS_DEPS="$prefix" -DBRINDLEWICK_TESTS=OFF >/dev/null
cmake --build "$build/windows" -j "$jobs"
echo "Built $build/windows/brindlewick.exe"
