#!/bin/sh
# Writes the Windows download OUT_DIR/skyreel-VERSION-windows-x86_64.zip from
# a cross build: one folder skyreel-VERSION/ holding skyreel.exe, SDL.dll,
# SDL_mixer.dll, data/, README.txt and the licences. Text files get Windows
# line ends. Prints the zip's path.
#
# Usage: tools/windows/package.sh BUILD_DIR SDL_PREFIX OUT_DIR
#   SDL_PREFIX: what tools/windows/build-sdl.sh printed.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
sdl=$2
out=$3
version=$(sh "$root/tools/release/version.sh" "$root")
sdl_ver=$(awk '$1 == "libsdl1.2" { print $2 }' "$sdl/versions")
mixer_ver=$(awk '$1 == "sdl-mixer1.2" { print $2 }' "$sdl/versions")

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder="$stage/skyreel-$version"
mkdir -p "$folder/licenses" "$out"

crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }

cp "$build/skyreel.exe" "$folder/"
cp "$sdl/bin/SDL.dll" "$sdl/bin/SDL_mixer.dll" "$folder/"
cp -r "$root/data" "$folder/data"
sed -e "s/@VERSION@/$version/g" -e "s/@SDL_VERSION@/$sdl_ver/g" -e "s/@MIXER_VERSION@/$mixer_ver/g" \
    "$root/tools/windows/README.txt.in" >"$stage/README.txt"
crlf "$stage/README.txt" "$folder/README.txt"
crlf "$root/LICENSE" "$folder/LICENSE.txt"
crlf "$sdl/licenses/SDL-LICENSE.txt" "$folder/licenses/SDL-LICENSE.txt"
crlf "$sdl/licenses/SDL_mixer-LICENSE.txt" "$folder/licenses/SDL_mixer-LICENSE.txt"
crlf /usr/share/doc/libstb-dev/copyright "$folder/licenses/stb-LICENSE.txt"
x86_64-w64-mingw32-strip "$folder/skyreel.exe" "$folder/SDL.dll" "$folder/SDL_mixer.dll"

zip_path="$(cd "$out" && pwd)/skyreel-$version-windows-x86_64.zip"
rm -f "$zip_path"
# Fixed times and order, so the same build gives the same zip.
find "$folder" -exec touch -d "2000-01-01 00:00:00 UTC" {} +
(cd "$stage" && find "skyreel-$version" | LC_ALL=C sort | zip -q -X -D "$zip_path" -@)
echo "$zip_path"
