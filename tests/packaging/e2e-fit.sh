#!/bin/sh
# End to end: started with neither --scale nor SKYREEL_SCALE, the installed
# launcher opens the window at the largest whole scale that fits the screen
# (on the SDL 1.2 compatibility runtime), on two screen sizes; the game then
# quits on Escape with exit status 0.
#
# Usage: e2e-fit.sh BUILD_DIR
set -eu
# shellcheck source=tests/packaging/lib.sh
. "$(dirname "$0")/lib.sh"

build=$1
make_workdir
# shellcheck disable=SC2086 # the runtime's folder is named after the machine
set -- /usr/lib/*/sdl12-compat/libSDL-1.2.so.0
[ -e "$1" ] || skip "no SDL 1.2 compatibility runtime (apt-get install libsdl1.2-compat)"
install_tree "$build" "$work/prefix"
# SDL 2 and its drivers keep allocations until exit (see e2e-window.sh).
ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export ASAN_OPTIONS

# Screen, then the scale that fits it: 1600 / 480 = 3 across; 600 / 272 = 2 down.
for case in 1600x1000:3 1024x600:2; do
    screen=${case%:*}
    scale=${case#*:}
    start_xvfb "$screen"
    start_game env -u SKYREEL_SCALE "$work/prefix/bin/skyreel"
    find_window
    check_geometry $((480 * scale)) $((272 * scale))
    press Escape
    wait_exit 10
    [ "$status" = 0 ] || { cat "$work/game.log" >&2; fail "exit status $status after Escape on $screen"; }
    stop_xvfb
    echo "screen $screen: scale $scale"
done
echo "PASS: the window fits both screens"
