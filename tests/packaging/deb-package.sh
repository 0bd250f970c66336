#!/bin/sh
# The Debian package from end to end, on this machine: builds it the Debian way
# (tools/release/deb.sh: dpkg-buildpackage -us -uc -b, without its tests, which
# run elsewhere), lints it (no errors, no warnings), installs it with apt-get,
# checks the games layout, starts /usr/games/skyreel from / on a private X
# server and plays the part of a person (title shown, Z starts play, Escape
# quits with status 0), then purges it and checks that no file of it is left.
#
# Needs root (it installs a package) and dpkg-buildpackage; without them it
# is skipped (lib.sh's skip).
#
# Usage: deb-package.sh SOURCE_DIR
set -eu
# shellcheck source=tests/packaging/lib.sh
. "$(dirname "$0")/lib.sh"

source=$1
[ "$(id -u)" = 0 ] || skip "installing a package needs root"
for tool in dpkg-buildpackage lintian apt-get; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool not found (run tools/install-deps.sh)"
done
if dpkg-query -W -f='${Status}' skyreel 2>/dev/null | grep -q 'installed'; then
    fail "a skyreel package is already installed; this test would replace it (apt-get purge skyreel first)"
fi

version=$(sh "$source/tools/release/version.sh" "$source")
deb="skyreel_$version-1_$(dpkg --print-architecture).deb"
make_workdir
purge_at_exit=""
cleanup_package() {
    if [ -n "$purge_at_exit" ]; then
        apt-get purge -y skyreel >"$work/purge.log" 2>&1 || cat "$work/purge.log" >&2
    fi
    cleanup
}
trap cleanup_package EXIT

started=$(date +%s)
DEB_BUILD_OPTIONS="nocheck parallel=2" sh "$source/tools/release/deb.sh" "$work/out" >"$work/deb.log" 2>&1 ||
    { cat "$work/deb.log" >&2; fail "tools/release/deb.sh"; }
echo "package built in $(($(date +%s) - started)) s"
[ -f "$work/out/$deb" ] || { cat "$work/deb.log" >&2; fail "no $deb"; }

# lintian reports info tags too; errors and warnings fail.
lintian --fail-on error,warning --display-info "$work/out/$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian"; }
echo "lintian: $(grep -c '^[EWI]:' "$work/lintian.log" || true) tags"
cat "$work/lintian.log"

# The Debian games layout.
dpkg-deb -c "$work/out/$deb" | awk '{ print $6 }' | sed 's#^\.##' >"$work/contents"
for file in /usr/games/skyreel /usr/lib/games/skyreel/skyreel \
    /usr/share/games/skyreel/data/texture1.png /usr/share/games/skyreel/data/sounddat.lst \
    /usr/share/applications/org.skyreel.Skyreel.desktop \
    /usr/share/metainfo/org.skyreel.Skyreel.metainfo.xml \
    /usr/share/icons/hicolor/128x128/apps/skyreel.png /usr/share/icons/hicolor/256x256/apps/skyreel.png \
    /usr/share/man/man6/skyreel.6.gz /usr/share/doc/skyreel/copyright /usr/share/doc/skyreel/changelog.gz; do
    grep -qx "$file" "$work/contents" || fail "the package does not hold $file"
done

purge_at_exit=1
apt-get install -y "$work/out/$deb" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "apt-get install ./$deb"; }
dpkg -L skyreel | sort >"$work/owned"

[ "$(/usr/games/skyreel --version)" = "skyreel $version" ] || fail "/usr/games/skyreel --version"

# No display: the fixed line on standard output, SDL's reason on standard
# error, status 255 (the game's -1).
rc=0
(cd / && env -u DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy /usr/games/skyreel \
    >"$work/nodisplay.out" 2>"$work/nodisplay.err") || rc=$?
[ "$rc" = 255 ] || fail "without a display: exit status $rc, not 255"
[ "$(cat "$work/nodisplay.out")" = "SDL initialize error." ] || fail "without a display: standard output"
[ -s "$work/nodisplay.err" ] || fail "without a display: no reason on standard error"
echo "without a display: $(cat "$work/nodisplay.err")"

start_xvfb
game_cwd=/
# At scale 1, on the classic SDL 1.2 (left alone, the window would fit the
# screen on the compatibility runtime the package recommends).
start_game env SKYREEL_SCALE=1 /usr/games/skyreel
find_window
check_geometry 480 272
title_play_quit 1

apt-get purge -y skyreel >"$work/purge.log" 2>&1 || { cat "$work/purge.log" >&2; fail "apt-get purge skyreel"; }
purge_at_exit=""
dpkg-query -W -f='${Status}' skyreel 2>/dev/null | grep -q 'installed' &&
    fail "skyreel is still known to dpkg after the purge"
# What is left of the package's list is only folders other packages own too.
left=0
while IFS= read -r path; do
    [ "$path" = /. ] && continue
    [ -e "$path" ] || [ -L "$path" ] || continue
    if [ -d "$path" ] && [ ! -L "$path" ] && dpkg-query -S "$path" >/dev/null 2>&1; then
        continue
    fi
    echo "left behind: $path" >&2
    left=$((left + 1))
done <"$work/owned"
[ "$left" = 0 ] || fail "$left paths of the package are left after the purge"
echo "PASS: $deb built, lint-clean, installed, played from /, purged without a trace"
