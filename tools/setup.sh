# Shared by ./run and ./test: installs the Debian packages that are missing, then builds.
# Sourced, not run.

# Packages the program needs to build and run.
BUILD_PACKAGES="g++ cmake make pkg-config libsdl2-dev libgl-dev libglu1-mesa-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev libgl1-mesa-dri libegl1 libegl-mesa0"
# Packages the Windows build adds: the MinGW-w64 cross compiler and its zlib, and Debian's source
# package tools. Its tests add Wine and icoutils (to read the program's resources back); Wine is
# installed without its recommends, which would pull in some 80 packages it does not need here.
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev cmake make"
WINE_PACKAGES="wine64 icoutils"
# Packages the tests add: GoogleTest, a virtual X server and keyboard, a PNG checker, ImageMagick
# (snapshots' pictures and texts read back), and clang with its fuzzer runtime.
TEST_PACKAGES="libgtest-dev libx11-dev xvfb xdotool x11-utils pngcheck imagemagick clang
  libclang-rt-dev"

# Installs whichever of the named packages are not installed yet; with --lean first, without
# their recommended packages.
install_packages() {
    local missing=() lean=()
    if [ "${1:-}" = --lean ]; then
        lean=(--no-install-recommends)
        shift
    fi
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${lean[@]}" "${missing[@]}" >/dev/null
}

# Configures and builds into build/ (extra arguments go to cmake's configure step).
build() {
    cmake -S . -B build "$@" >/dev/null
    cmake --build build -j "$(nproc)"
}
