#!/bin/sh
# Installs what the Windows download needs to be built and tested on Debian,
# when any of it is missing: the MinGW-w64 cross compiler (win32 thread model,
# so the exe needs no threading DLL), stb_image for decoding pictures on
# Windows, ImageMagick to make the exe's icon, wine64 to run the tests, Xvfb
# and xdotool to drive them, and what
# tools/windows/build-sdl.sh needs to fetch and cross-build SDL 1.2 and
# SDL_mixer 1.2 from Debian's source packages. Safe to run again.
set -e
cd "$(dirname "$0")/.."

PACKAGES="g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
mingw-w64-x86-64-dev libstb-dev wine wine64 xvfb xauth xdotool x11-utils
dpkg-dev make cmake ninja-build pkg-config zip unzip imagemagick"

# shellcheck source=tools/install-missing.sh
. tools/install-missing.sh
# shellcheck disable=SC2086
install_missing $PACKAGES
