#!/bin/sh
# Installs the build the way a distribution package does (DESTDIR staging under
# prefix /usr) and checks the tree: every file in its standard place, valid
# desktop entry and metainfo, and a launcher that finds the game through
# relative paths and explains what is wrong instead of starting a broken game.
#
# Usage: install-layout.sh BUILD_DIR
set -eu
# shellcheck source=tests/packaging/lib.sh
. "$(dirname "$0")/lib.sh"

build=$1
need_tools desktop-file-validate appstreamcli
make_workdir
stage="$work/stage"
DESTDIR=$stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "staged install"; }
usr="$stage/usr"

for file in bin/skyreel libexec/skyreel/skyreel \
    share/skyreel/data/texture1.png share/skyreel/data/clip1.png \
    share/skyreel/data/ascii.bmp share/skyreel/data/sounddat.lst \
    share/applications/org.skyreel.Skyreel.desktop \
    share/metainfo/org.skyreel.Skyreel.metainfo.xml \
    share/icons/hicolor/128x128/apps/skyreel.png \
    share/man/man6/skyreel.6; do
    [ -f "$usr/$file" ] || fail "$file is not installed"
done
[ -x "$usr/bin/skyreel" ] || fail "bin/skyreel is not executable"
[ -x "$usr/libexec/skyreel/skyreel" ] || fail "the game is not executable"
grep -q "$stage" "$usr/bin/skyreel" && fail "the launcher hard-codes the staging folder"

for size in 128 256; do
    icon="$usr/share/icons/hicolor/${size}x$size/apps/skyreel.png"
    [ -f "$icon" ] || fail "no ${size}x$size icon"
    icon_size=$(identify -format '%wx%h' "$icon")
    [ "$icon_size" = "${size}x$size" ] || fail "the ${size}x$size icon measures $icon_size"
done

desktop-file-validate "$usr/share/applications/org.skyreel.Skyreel.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/org.skyreel.Skyreel.metainfo.xml" ||
    fail "appstreamcli validate"
appstreamcli validate-tree --no-net "$usr" >"$work/tree.log" 2>&1 ||
    { cat "$work/tree.log" >&2; fail "appstreamcli validate-tree"; }

# Every music and effect file the sound list names ("S001 data/name.wav": kind,
# three digits, one separator, then the name) is installed beside it.
grep '^[MS]' "$usr/share/skyreel/data/sounddat.lst" | cut -c6- | tr -d '\r' |
    while IFS= read -r name; do
        [ -f "$usr/share/skyreel/$name" ] || fail "the sound list names $name, which is not installed"
    done

launcher="$usr/bin/skyreel"
"$launcher" --help | grep -q 'usage: skyreel' || fail "--help prints no usage"
[ "$("$launcher" --version)" = "skyreel $(sh "$pkg_tests/../../tools/release/version.sh")" ] || fail "--version"

expect_refusal() {
    want=$1
    shift
    rc=0
    "$@" >"$work/out.log" 2>&1 || rc=$?
    [ "$rc" = 2 ] || fail "'$*' exited with $rc, not 2"
    grep -q "$want" "$work/out.log" || fail "'$*' did not say '$want'"
}
expect_refusal "unknown argument" "$launcher" --fullscreen
expect_refusal "scale must be" "$launcher" --scale 0
expect_refusal "scale must be" "$launcher" --scale=twice
expect_refusal "scale must be" env SKYREEL_SCALE=9 "$launcher"
expect_refusal "usage" "$launcher" --scale

# A launcher reached through a symbolic link still finds the game.
ln -s "$launcher" "$work/skyreel-link"
"$work/skyreel-link" --help >/dev/null || fail "launcher through a link"

# Data gone: a clear message and status 1, not a game with blank pictures.
cp -r "$usr" "$work/broken"
rm -rf "$work/broken/share/skyreel/data"
rc=0
"$work/broken/bin/skyreel" >"$work/out.log" 2>&1 || rc=$?
[ "$rc" = 1 ] || fail "missing data: exit status $rc, not 1"
grep -q "game data missing" "$work/out.log" || fail "missing data: no message"

# No compatibility runtime: the scaled window is refused with the package name.
sed "s#^\( *\)for dir in .*#\1for dir in /nonexistent; do#" "$launcher" >"$usr/bin/skyreel-nocompat"
chmod +x "$usr/bin/skyreel-nocompat"
rc=0
"$usr/bin/skyreel-nocompat" --scale 2 >"$work/out.log" 2>&1 || rc=$?
[ "$rc" = 1 ] || fail "missing runtime: exit status $rc, not 1"
grep -q "apt-get install libsdl1.2-compat" "$work/out.log" || fail "missing runtime: no hint at the package"

echo "PASS: staged install under $usr"
