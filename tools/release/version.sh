#!/bin/sh
# Prints the version set by project() in the top CMakeLists.txt, the one place
# it is written. Usage: tools/release/version.sh [SOURCE_DIR]
set -eu
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
version=$(sed -n 's/^project(Skyreel VERSION \([0-9][0-9.]*\)[ )].*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "version.sh: no 'project(Skyreel VERSION x.y.z ...)' in $root/CMakeLists.txt" >&2; exit 1; }
echo "$version"
