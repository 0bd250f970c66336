#!/bin/sh
# Installs the Debian packages Skyreel needs to build, run and test, when any
# of them is missing. Safe to run again: it does nothing when all are present.
set -e

PACKAGES="build-essential cmake ninja-build pkg-config clang clang-format shellcheck git
libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libpng-dev
libgtest-dev libbenchmark-dev libsdl-gfx1.2-dev
xvfb xauth xdotool x11-utils imagemagick valgrind
desktop-file-utils appstream
debhelper devscripts lintian dpkg-dev fakeroot
libsdl1.2-compat libsdl2-2.0-0"

# shellcheck source=tools/install-missing.sh
. "$(dirname "$0")/install-missing.sh"
# shellcheck disable=SC2086
install_missing $PACKAGES
