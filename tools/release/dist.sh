#!/bin/sh
# Writes the source release skyreel-VERSION.tar.gz into OUTDIR: the committed
# tree (HEAD) as git holds it, under one folder skyreel-VERSION/. The generated
# data/ is committed, so the release builds without the asset generator's run.
# Changes not yet committed are not part of it; the script says so.
#
# Usage: tools/release/dist.sh OUTDIR
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$1
version=$(sh "$root/tools/release/version.sh" "$root")
git -C "$root" rev-parse --verify -q HEAD >/dev/null ||
    { echo "dist: $root is not a git checkout with a commit; a source release is made from one" >&2; exit 1; }
mkdir -p "$out"
tarball="$out/skyreel-$version.tar.gz"
git -C "$root" archive --format=tar.gz --prefix="skyreel-$version/" -o "$(cd "$out" && pwd)/skyreel-$version.tar.gz" HEAD
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "dist: note: uncommitted changes are not in the release" >&2
fi
echo "$tarball"
