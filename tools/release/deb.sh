#!/bin/sh
# Builds the Debian package the Debian way, dpkg-buildpackage -us -uc -b, in a
# scratch copy of this source tree (dpkg-buildpackage writes into the tree and
# puts its results beside it), then moves the results (.deb, .buildinfo,
# .changes) into OUTDIR. DEB_BUILD_OPTIONS passes through: nocheck skips the
# tests, parallel=N sets the jobs.
#
# The copy is the tree as it stands: with git, its tracked and new files that
# .gitignore does not leave out; in an unpacked source release, everything but
# build output.
#
# Usage: tools/release/deb.sh OUTDIR
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
version=$(sh "$root/tools/release/version.sh" "$root")
command -v dpkg-buildpackage >/dev/null 2>&1 ||
    { echo "deb: dpkg-buildpackage not found (run tools/install-deps.sh)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/skyreel-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
tree="$work/skyreel-$version"
mkdir "$tree"
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # Files deleted but not yet committed are listed too: skipped.
    (cd "$root" && git ls-files -z --cached --others --exclude-standard |
        tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -C "$tree" -xf -
else
    (cd "$root" && tar --exclude-vcs --exclude='./build*' --exclude=./dist --exclude='./obj-*' --exclude=node_modules \
        --exclude=./debian/.debhelper --exclude=./debian/skyreel --exclude=./debian/files \
        --exclude='./debian/*.substvars' --exclude='./debian/*.log' --exclude=./debian/debhelper-build-stamp \
        -cf - .) | tar -C "$tree" -xf -
fi

(cd "$tree" && dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1 || {
    tail -n 60 "$work/build.log" >&2
    echo "deb: dpkg-buildpackage failed" >&2
    exit 1
}
cp "$work/build.log" "$out/skyreel-deb-build.log"
for result in "$work"/*.deb "$work"/*.buildinfo "$work"/*.changes; do
    [ -e "$result" ] || continue
    mv "$result" "$out/"
    echo "$out/$(basename "$result")"
done
