#!/bin/sh
# `make dist`'s source release holds exactly the tracked files (git ls-files)
# under one folder skyreel-VERSION/, and the unpacked release configures
# without git. Outside a git checkout (an unpacked release itself) there is
# nothing to compare against: skipped.
#
# Usage: dist-contents.sh SOURCE_DIR
set -eu
# shellcheck source=tests/packaging/lib.sh
. "$(dirname "$0")/lib.sh"

source=$1
if ! git -C "$source" rev-parse --verify -q HEAD >/dev/null 2>&1; then
    skip "$source is not a git checkout"
fi
version=$(sh "$source/tools/release/version.sh" "$source")
make_workdir
sh "$source/tools/release/dist.sh" "$work" >"$work/dist.log" 2>&1 || { cat "$work/dist.log" >&2; fail "dist.sh"; }
tarball="$work/skyreel-$version.tar.gz"
[ -f "$tarball" ] || fail "no skyreel-$version.tar.gz"

# Files only: git archive adds the folders and a pax header with the commit.
tar -tzf "$tarball" | grep -v '/$' >"$work/listed"
grep -v "^skyreel-$version/" "$work/listed" && fail "entries outside skyreel-$version/"
sed "s#^skyreel-$version/##" "$work/listed" | sort >"$work/released"
git -C "$source" ls-files | sort >"$work/tracked"
if ! diff -u "$work/tracked" "$work/released" >"$work/diff"; then
    cat "$work/diff" >&2
    fail "the release differs from the tracked files (uncommitted additions or removals?)"
fi
echo "release: $(wc -l <"$work/released") files, as tracked"

# Unpacked away from any git checkout, it configures (generated data/ and
# all) with git out of reach.
mkdir "$work/unpacked"
tar -xzf "$tarball" -C "$work/unpacked"
tree="$work/unpacked/skyreel-$version"
[ -f "$tree/data/texture1.png" ] || fail "the release lacks the generated data/"
GIT_DIR=/nonexistent GIT_CEILING_DIRECTORIES="$work" \
    cmake -S "$tree" -B "$work/configured" -G Ninja -DSKYREEL_TOOLS=OFF -DSKYREEL_TESTS=OFF \
    >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; fail "the unpacked release does not configure"; }
echo "PASS: skyreel-$version.tar.gz holds the tracked files and configures on its own"
