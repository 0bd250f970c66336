#!/bin/sh
# Takes the README's pictures with the headless simulator: the title with its
# prompt showing, and a moment of the autoplayer's first game with the bonus
# ship crossing. The run is deterministic, so the pictures come out the same
# every time until the game or its data change.
#
# Usage: packaging/screenshots.sh BUILD_DIR OUT_DIR   (writes title.png, play.png)
set -eu
build=$1
out=$2
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)
"$build/tools/sim/skyreel-sim" --data-dir "$root" --bot --confirm-at 400 --frames 2001 \
    --no-present --quiet --shot "170:$out/title.png" --shot "2000:$out/play.png" >/dev/null
