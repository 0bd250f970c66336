#!/bin/sh
# Cross-builds SDL 1.2 and SDL_mixer 1.2 for 64-bit Windows from Debian's
# source packages, into a cache outside the clone keyed by their versions, and
# prints the prefix they are installed in. A second run with the same versions
# builds nothing. Debian ships no Windows builds of them, and their source
# packages are fetched through a private list of deb-src lines, so the
# system's own apt lists are left alone.
#
# SDL is built with --disable-stdio-redirect, so the game writes to its
# standard output and error as on Linux instead of stdout.txt and stderr.txt
# beside the exe; SDL_mixer plays WAV only, the one format data/ uses, and
# only its library is built (not its example players).
#
# Environment: SKYREEL_WINDOWS_CACHE (default
# ${XDG_CACHE_HOME:-$HOME/.cache}/skyreel/windows), JOBS (default 2).
set -e

HOST=x86_64-w64-mingw32
JOBS=${JOBS:-2}
CACHE=${SKYREEL_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/skyreel/windows}
APTDIR=$CACHE/apt
mkdir -p "$APTDIR/lists/partial" "$APTDIR/archives/partial"

# The deb-src lines: bookworm's main archive from the mirror the system uses.
mirror=$(grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}' |
    grep -v security | head -n 1)
if [ -z "$mirror" ]; then
    mirror=$(grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
        awk '{for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit }}' |
        grep -v security | head -n 1)
fi
mirror=${mirror:-http://deb.debian.org/debian}
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror bookworm main" \
    >"$APTDIR/sources.list"

apt_private() { # apt-get or apt-cache, then its arguments
    tool=$1
    shift
    "$tool" -q -o Dir::Etc::SourceList="$APTDIR/sources.list" \
        -o Dir::Etc::SourceParts=/nonexistent -o Dir::State::Lists="$APTDIR/lists" \
        -o Dir::Cache="$APTDIR" -o Dir::Cache::archives="$APTDIR/archives" \
        -o APT::Sandbox::User="$(id -un)" "$@"
}

# Versions are read from the private lists; they are refreshed at most once a
# day, and only when the lists are missing or stale.
if [ -z "$(find "$APTDIR/lists" -maxdepth 1 -name '*Sources*' -mtime -1 2>/dev/null)" ]; then
    apt_private apt-get update >&2
fi
source_version() {
    apt_private apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ { print $2; exit }'
}
sdl_ver=$(source_version libsdl1.2)
mixer_ver=$(source_version sdl-mixer1.2)
if [ -z "$sdl_ver" ] || [ -z "$mixer_ver" ]; then
    echo "build-sdl: no source package of libsdl1.2 or sdl-mixer1.2 in $mirror" >&2
    exit 1
fi

PREFIX=$CACHE/$sdl_ver-$mixer_ver
if [ -f "$PREFIX/.complete" ]; then
    printf 'libsdl1.2 %s\nsdl-mixer1.2 %s\n' "$sdl_ver" "$mixer_ver" >"$PREFIX/versions"
    echo "$PREFIX"
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$PREFIX"
cd "$work"
echo "build-sdl: fetching libsdl1.2 $sdl_ver and sdl-mixer1.2 $mixer_ver" >&2
apt_private apt-get source "libsdl1.2=$sdl_ver" "sdl-mixer1.2=$mixer_ver" >&2

# Static libgcc, so the DLLs need nothing beyond the system's own.
export LDFLAGS="-static-libgcc"
echo "build-sdl: building SDL" >&2
(cd libsdl1.2-*/ && ./configure --host=$HOST --prefix="$PREFIX" --disable-static \
    --disable-stdio-redirect --disable-nasm >&2 && make -j "$JOBS" >&2 && make install >&2)

echo "build-sdl: building SDL_mixer" >&2
(cd sdl-mixer1.2-*/ && ./configure --host=$HOST --prefix="$PREFIX" --disable-static \
    --with-sdl-prefix="$PREFIX" --disable-sdltest \
    --disable-music-cmd --disable-music-mod --disable-music-midi --disable-music-ogg --disable-music-flac \
    --disable-music-mp3 --disable-music-mp3-mad-gpl >&2 &&
    make -j "$JOBS" build/libSDL_mixer.la >&2 && make install-hdrs install-lib >&2)

# The licences travel with the DLLs.
mkdir -p "$PREFIX/licenses"
cp libsdl1.2-*/COPYING "$PREFIX/licenses/SDL-LICENSE.txt"
cp sdl-mixer1.2-*/COPYING "$PREFIX/licenses/SDL_mixer-LICENSE.txt"
# The source packages the DLLs were built from, for the download's README.
printf 'libsdl1.2 %s\nsdl-mixer1.2 %s\n' "$sdl_ver" "$mixer_ver" >"$PREFIX/versions"
touch "$PREFIX/.complete"
echo "$PREFIX"
