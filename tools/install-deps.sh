#!/bin/sh
# Installs the Debian packages Skyreel needs to build, run and test, when any
# of them is missing. Safe to run again: it does nothing when all are present.
set -e

PACKAGES="build-essential cmake ninja-build pkg-config clang clang-format git
libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libpng-dev
libgtest-dev libbenchmark-dev libsdl-gfx1.2-dev
xvfb xauth xdotool x11-utils imagemagick valgrind
desktop-file-utils appstream
debhelper devscripts lintian dpkg-dev fakeroot
libsdl1.2-compat libsdl2-2.0-0"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
if [ "$(id -u)" != 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
# shellcheck disable=SC2086
$SUDO apt-get install -y --no-install-recommends $missing
