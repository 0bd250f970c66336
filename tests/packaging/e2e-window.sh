#!/bin/sh
# End to end: installs the build into a temporary prefix, starts the installed
# launcher from another working directory on a private X server with the real
# X11 driver, and plays the part of a person: the window appears with the right
# caption and size, the title screen is drawn, Z starts a game, Escape quits
# with exit status 0.
#
# Usage: e2e-window.sh BUILD_DIR SCALE
#   SCALE 1 runs the classic SDL 1.2; any other runs the launcher's
#   SKYREEL_SCALE path (SDL 1.2 compatibility runtime), so the window measures
#   SCALE times 480 x 272.
# SKYREEL_SHOTS_DIR, when set, receives title.png and play.png.
set -eu
# shellcheck source=tests/packaging/lib.sh
. "$(dirname "$0")/lib.sh"

build=$1
scale=$2
make_workdir
install_tree "$build" "$work/prefix"
start_xvfb

if [ "$scale" = 1 ]; then
    start_game "$work/prefix/bin/skyreel"
else
    # On a sanitizer build, SDL 2 and the drivers it loads and unloads keep
    # allocations until exit that no suppression can name; the game's own
    # leaks are the unit tests' business, memory errors are still caught.
    ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
    export ASAN_OPTIONS
    start_game env SKYREEL_SCALE="$scale" "$work/prefix/bin/skyreel"
fi
find_window
check_geometry $((480 * scale)) $((272 * scale))

# Screen rectangles at scale 1, multiplied out: the play field is columns
# 80..303 and rows 16..255.
field="$((224 * scale))x$((240 * scale))+$((80 * scale))+$((16 * scale))"

# The title slides in over its first 90 updates (about 1.5 s), and Z only cuts
# the slide short. Wait until the picture is rich (many colours on screen, the
# play field not one flat colour) and settled: two pictures half a second apart
# differ by little more than the blinking prompt.
settled=$((480 * 272 * scale * scale / 50))
tries=0
rm -f "$work/before.png"
while :; do
    sleep 0.5
    screenshot "$work/title.png"
    all=$(colours "$work/title.png")
    infield=$(colours "$work/title.png" "$field")
    moved=$settled
    if [ -f "$work/before.png" ]; then
        moved=$(differing_pixels "$work/before.png" "$work/title.png")
    fi
    [ "$all" -ge 16 ] && [ "$infield" -ge 8 ] && [ "$moved" -lt "$settled" ] && break
    cp "$work/title.png" "$work/before.png"
    tries=$((tries + 1))
    [ $tries -le 30 ] ||
        fail "no settled title screen within 15 s ($all colours, $infield in the play field, $moved pixels moving)"
done
echo "title: $all colours, $infield in the play field, $moved pixels moving"

if [ "$scale" != 1 ]; then
    # Nearest scaling: every game pixel is a sharp SCALE x SCALE block, so
    # shrinking by sampling and enlarging again gives the same picture back.
    convert "$work/title.png" -sample '480x272!' -sample "$((480 * scale))x$((272 * scale))!" \
        "$work/blocks.png"
    blurred=$(differing_pixels "$work/title.png" "$work/blocks.png")
    echo "scaled title: $blurred pixels are not part of a sharp ${scale}x${scale} block"
    [ "$blurred" -le $((480 * 272 * scale * scale / 1000)) ] || fail "the scaled picture is not sharp"
fi

press z
# The confirmed title blinks for 91 updates (about 1.5 s) before play begins.
sleep 2.5
screenshot "$work/play.png"
game_alive || { cat "$work/game.log" >&2; fail "the game exited after Z"; }
changed=$(differing_pixels "$work/title.png" "$work/play.png")
minimum=$((480 * 272 * scale * scale / 20))
echo "play: $changed pixels differ from the title (at least $minimum wanted)"
[ "$changed" -ge "$minimum" ] || fail "the picture hardly changed after Z: still on the title?"
[ "$(colours "$work/play.png" "$field")" -ge 4 ] || fail "the play field is blank"

if [ -n "${SKYREEL_SHOTS_DIR:-}" ]; then
    cp "$work/title.png" "$work/play.png" "$SKYREEL_SHOTS_DIR/"
fi

press Escape
wait_exit 5
[ "$status" = 0 ] || { cat "$work/game.log" >&2; fail "exit status $status after Escape"; }
echo "PASS: scale $scale, exit status 0"
