#!/usr/bin/env bash
# Builds what Windows users download: BUILD/windows/brindlewick-VERSION-x64.msi, the installer,
# and BUILD/windows/brindlewick-VERSION-windows-x64.zip, the portable program with a read-me.
# Builds brindlewick.exe first (tools/build_windows.sh) and installs wixl if it is missing.
# Usage: tools/package_windows.sh [BUILD], BUILD the build folder, build/ by default.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh
# shellcheck disable=SC2086
install_packages --lean $INSTALLER_PACKAGES
build=$(realpath -m "${1:-build}")
tools/build_windows.sh "$build"
# Configured again: a wixl installed just now must be found.
cmake "$build/windows" >/dev/null
cmake --build "$build/windows" --target packages
ls "$build"/windows/brindlewick-*.msi "$build"/windows/brindlewick-*.zip
