# Shared by ./run and ./test: installs the Debian packages that are missing, then builds.
# Sourced, not run.

# The Debian packages ./run and ./test install when they are missing: every package whose command
# a script, test or build step calls is named here, even where another package happens to bring
# it. "a|b" names one package under two names (Debian's and a derived system's): whichever the
# system's apt can install is installed, the first if both can.

# The program, to build and run: compiler and build tools, SDL2, Xlib (a lost X display noticed),
# libwayland-client (a Wayland session checked and watched), OpenGL and GLU, libjpeg (Ubuntu has
# the same interface as libjpeg62-dev), libpng and zlib, and Mesa's GL drivers.
BUILD_PACKAGES="g++ cmake make pkg-config libsdl2-dev libx11-dev libwayland-dev libgl-dev
  libglu1-mesa-dev libjpeg62-turbo-dev|libjpeg62-dev libpng-dev zlib1g-dev libgl1-mesa-dri
  libegl1 libegl-mesa0"
# The Windows build: the MinGW-w64 cross compiler and its zlib, its objdump (the program's imports
# read back), and Debian's source package tools (apt-get source) for libjpeg-turbo and libpng.
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  dpkg-dev cmake make"
# A virtual X server, keys and window lists: what ./run's preview without a display, the tests and
# bench/compare.sh drive the program with.
X_SESSION_PACKAGES="xvfb xdotool x11-utils"
# Its tests: Wine and icoutils (wrestool, the program's resources read back). Installed without
# recommends, which would pull in some 80 packages not needed here.
WINE_PACKAGES="wine64 icoutils"
# The Windows installer, made with wixl and read back with msiinfo (both from msitools), its
# shortcut read with strings (binutils) and the portable zip with unzip. Installed without
# recommends.
INSTALLER_PACKAGES="wixl msitools binutils unzip"
# The tests: GoogleTest, the X session's packages and keyboard layouts (setxkbmap), ps,
# pgrep and pkill (procps), a PNG checker, ImageMagick (snapshots' pictures and texts read back),
# clang with its fuzzer runtime, the install check's validators and package tools (file is what
# CPack finds the binaries to pass to dpkg-shlibdeps with), zenity (the dialog program that asks
# the start question where SDL cannot draw its box), and Weston with Xwayland for the Wayland
# session test (Weston's X11 backend nested in Xvfb gives the session a seat), kdialog (the start
# question where it is KDE's only dialog program: its Escape and closing read back), and sway with
# setpriv (util-linux; sway refuses root, so the test runs it as an unprivileged user) for the
# wlroots session test and its swaymsg for the windows it opened.
TEST_PACKAGES="libgtest-dev $X_SESSION_PACKAGES x11-xkb-utils procps pngcheck imagemagick
  clang libclang-rt-dev desktop-file-utils appstream lintian man-db groff-base dpkg-dev file
  zenity weston xwayland kdialog sway util-linux"
# The compositors tools/desktops_check.sh adds: Mutter (GNOME; in a D-Bus session of its own,
# dbus-run-session from dbus-daemon) and KWin (KDE Plasma).
DESKTOPS_PACKAGES="mutter dbus-daemon kwin-wayland"
# Packages bench/compare.sh adds to the program's: git (the commit it compares with), apitrace
# (a frame's GL calls counted), and the X session's packages to run the program.
BENCH_PACKAGES="git apitrace $X_SESSION_PACKAGES"

# Whether package $1, or one of its names "a|b", is installed.
installed() {
    local name names
    IFS='|' read -ra names <<<"$1"
    for name in "${names[@]}"; do
        dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'ok installed' && return 0
    done
    return 1
}

# Prints the first of the names "a|b" of package $1 that apt has a version of; the first name if
# none has one, so that apt's own message says what is missing.
installable() {
    local name names
    IFS='|' read -ra names <<<"$1"
    for name in "${names[@]}"; do
        # grep reads to the end: an early exit would fail apt-cache with SIGPIPE under pipefail.
        if apt-cache policy "$name" 2>/dev/null | grep 'Candidate: [^(]' >/dev/null; then
            echo "$name"
            return
        fi
    done
    echo "${names[0]}"
}

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
        installed "$package" || missing+=("$package")
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
    "${sudo[@]}" apt-get update -qq
    for package in "${!missing[@]}"; do
        missing[package]=$(installable "${missing[package]}")
    done
    echo "Installing ${missing[*]}"
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
