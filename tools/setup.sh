# Shared by ./run and ./test: installs the Debian packages that are missing, then builds.
# Sourced, not run.

# Packages the program needs to build and run.
BUILD_PACKAGES="g++ cmake make pkg-config libsdl2-dev libgl-dev libglu1-mesa-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev libgl1-mesa-dri libegl1 libegl-mesa0"
# Packages the tests add: GoogleTest, a virtual X server and keyboard with its layouts, a PNG
# checker, and clang with its fuzzer runtime.
TEST_PACKAGES="libgtest-dev libx11-dev xvfb xdotool x11-utils x11-xkb-utils pngcheck clang
  libclang-rt-dev"

# Installs whichever of the named packages are not installed yet.
install_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Configures and builds into build/ (extra arguments go to cmake's configure step).
build() {
    cmake -S . -B build "$@" >/dev/null
    cmake --build build -j "$(nproc)"
}
