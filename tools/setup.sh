# Shared by ./run and ./test: installs the Debian packages that are missing, then builds.
# Sourced, not run.

# Packages the program needs to build and run.
BUILD_PACKAGES="g++ cmake make pkg-config libsdl2-dev libx11-dev libwayland-dev libgl-dev
  libglu1-mesa-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev libgl1-mesa-dri libegl1 libegl-mesa0"
# Packages the Windows build adds: the MinGW-w64 cross compiler and its zlib, and Debian's source
# package tools. Its tests add Wine and icoutils (to read the program's resources back); Wine is
# installed without its recommends, which would pull in some 80 packages it does not need here.
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev cmake make"
WINE_PACKAGES="wine64 icoutils"
# The Windows installer is made with wixl (msitools); installed without its recommends.
INSTALLER_PACKAGES="wixl"
# Packages the tests add: GoogleTest, a virtual X server and keyboard with its layouts, a PNG
# checker, ImageMagick (snapshots' pictures and texts read back), clang with its fuzzer runtime,
# the validators and package tools of the install check, zenity (the dialog program that asks
# the start question where SDL cannot draw its box), and Weston with Xwayland for the Wayland
# session test (Weston's X11 backend nested in Xvfb gives the session a seat).
TEST_PACKAGES="libgtest-dev xvfb xdotool x11-utils x11-xkb-utils pngcheck imagemagick
  clang libclang-rt-dev desktop-file-utils appstream lintian man-db groff-base dpkg-dev zenity
  weston xwayland"
# Packages bench/compare.sh adds to the program's: git (the commit it compares with), apitrace
# (a frame's GL calls counted), and a virtual X server, keys and window lists to run the program.
BENCH_PACKAGES="git apitrace xvfb xdotool x11-utils"

# Installs whichever of the named packages are not installed yet, with --lean first without their
# recommended packages: as root, or through sudo when it is there. Without either it stops with
# one line saying what to do, before anything changes.
install_packages() {
    local package missing=() sudo=() lean=()
    if [ "${1:-}" = --lean ]; then
        lean=(--no-install-recommends)
        shift
    fi
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "$0: ${#missing[@]} Debian packages are missing and installing them needs root:" \
                "run $0 as root, or install sudo and add yourself to the sudo group." >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "Installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    # Through env, as sudo drops the caller's environment.
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 \
        install -y -qq "${lean[@]}" "${missing[@]}" >/dev/null
}

# The project folder, wherever the caller is.
PROJECT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Configures and builds into the project's build/ (extra arguments go to cmake's configure step).
build() {
    cmake -S "$PROJECT_DIR" -B "$PROJECT_DIR/build" "$@" >/dev/null
    cmake --build "$PROJECT_DIR/build" -j "$(nproc)"
}
