#!/bin/sh
# Takes the README's pictures from the installed game on a private X server:
# the settled title screen, and a moment of play after a few seconds of moving
# and firing.
#
# Usage: packaging/screenshots.sh BUILD_DIR OUT_DIR   (writes title.png, play.png)
set -eu
pkg_tests=$(cd "$(dirname "$0")/../tests/packaging" && pwd)
# shellcheck source=tests/packaging/lib.sh
. "$pkg_tests/lib.sh"

build=$1
out=$2
make_workdir
install_tree "$build" "$work/prefix"
start_xvfb
start_game "$work/prefix/bin/skyreel"
find_window
# The prompt blinks (half a second shown, half hidden): keep the shot in which
# its rectangle holds the most colours.
sleep 3
best=-1
for shot in 1 2 3 4 5; do
    screenshot "$work/title$shot.png"
    prompt=$(colours "$work/title$shot.png" 80x16+112+176)
    if [ "$prompt" -gt "$best" ]; then
        best=$prompt
        cp "$work/title$shot.png" "$out/title.png"
    fi
    sleep 0.25
done

press z
sleep 2.5
for key in Left Left Right Right Right Right Left Left Left Right Right Left; do
    timeout 5 xdotool keydown "$key" keydown z
    sleep 0.4
    timeout 5 xdotool keyup z keyup "$key"
    sleep 0.3
done
screenshot "$out/play.png"
press Escape
wait_exit 5
echo "wrote $out/title.png and $out/play.png"
