# shellcheck shell=sh disable=SC2034 # $status, $window and $work are read by the scripts
# Helpers for the packaging tests: a private install tree, a private X server
# and a game started through the installed launcher. Every wait is bounded, so
# a test fails instead of hanging. Sourced by the test scripts (POSIX sh).

pkg_tests=${pkg_tests:-$(cd "$(dirname "$0")" && pwd)}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# skip REASON: something the test needs is missing here; exits 77, which
# ctest counts as skipped. Under SKYREEL_REQUIRE_ALL=1 (CI) it fails instead.
skip() {
    [ "${SKYREEL_REQUIRE_ALL:-}" != 1 ] || fail "$* (SKYREEL_REQUIRE_ALL=1 forbids skipping)"
    echo "SKIP: $*"
    exit 77
}

need_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || skip "$tool not found (run tools/install-deps.sh)"
    done
}

# make_workdir: a temporary folder in $work, removed by cleanup.
make_workdir() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/skyreel-pkg.XXXXXX")
    xvfb_pid=""
    game_pid=""
    trap cleanup EXIT
    trap 'exit 1' INT TERM HUP
}

cleanup() {
    if [ -n "$game_pid" ]; then
        kill -KILL "$game_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}

# install_tree BUILD PREFIX: installs the build into PREFIX.
install_tree() {
    cmake --install "$1" --prefix "$2" >"$work/install.log" 2>&1 ||
        { cat "$work/install.log" >&2; fail "cmake --install into $2"; }
}

# start_xvfb [WIDTHxHEIGHT]: a private X server (1600x1000 unless told) on a
# display it picks itself (no clash with other servers or parallel tests);
# sets DISPLAY.
# shellcheck disable=SC2120 # the size is optional
start_xvfb() {
    need_tools Xvfb xdotool import convert
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "${1:-1600x1000}x24" -nolisten tcp -noreset \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    tries=0
    while ! grep -q '^[0-9]' "$work/display" 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -le 100 ] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start in 10 s"; }
        kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; fail "Xvfb exited"; }
        sleep 0.1
    done
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
}

# stop_xvfb: ends the X server start_xvfb started.
stop_xvfb() {
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
}

# start_game LAUNCHER [ARG...]: runs the installed launcher from an unrelated
# working directory ($game_cwd, else a folder of its own) on the real X11 video
# driver, without sound hardware.
start_game() {
    cwd=${game_cwd:-$work/elsewhere}
    mkdir -p "$cwd"
    (
        cd "$cwd" || exit 1
        unset SDL_VIDEODRIVER
        SDL_AUDIODRIVER=dummy
        LSAN_OPTIONS="suppressions=$pkg_tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
        export SDL_AUDIODRIVER LSAN_OPTIONS
        exec "$@"
    ) >"$work/game.log" 2>&1 &
    game_pid=$!
}

# game_alive: true while the game runs (a finished child that was not yet
# waited for is a zombie, which kill -0 would still count).
game_alive() {
    state=$(ps -o stat= -p "$game_pid" 2>/dev/null) || return 1
    case $state in Z*) return 1 ;; esac
}

# find_window: waits up to 15 s for the game's window; sets $window.
find_window() {
    tries=0
    while :; do
        window=$(timeout 5 xdotool search --onlyvisible --name '^Skyreel$' 2>/dev/null | head -n 1)
        [ -n "$window" ] && return 0
        game_alive || { cat "$work/game.log" >&2; fail "the game exited before showing a window"; }
        tries=$((tries + 1))
        [ $tries -le 150 ] || { cat "$work/game.log" >&2; fail "no window named Skyreel within 15 s"; }
        sleep 0.1
    done
}

# check_geometry W H: the window measures W x H pixels.
check_geometry() {
    eval "$(timeout 5 xdotool getwindowgeometry --shell "$window")"
    if [ "$WIDTH" != "$1" ] || [ "$HEIGHT" != "$2" ]; then
        fail "window is ${WIDTH}x${HEIGHT}, expected $1x$2"
    fi
    echo "window $window: ${WIDTH}x${HEIGHT}"
}

# screenshot FILE: the window's picture as PNG.
screenshot() {
    timeout 20 import -window "$window" "png:$1" 2>"$work/import.log" ||
        { cat "$work/import.log" >&2; fail "import of window $window"; }
}

# colours FILE [GEOMETRY]: the number of distinct colours, in the crop if given.
colours() {
    if [ -n "${2:-}" ]; then
        convert "$1" -crop "$2" +repage -format '%k' info:
    else
        convert "$1" -format '%k' info:
    fi
}

# differing_pixels A B: how many pixels differ between two pictures of one size.
differing_pixels() {
    convert "$1" "$2" -compose difference -composite -colorspace gray -threshold 0 \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

# press KEY: focuses the window and holds KEY for 0.2 s, long enough for the
# game to see it down in at least one update.
press() {
    timeout 5 xdotool mousemove --window "$window" 10 10 windowfocus --sync "$window" 2>/dev/null || true
    timeout 5 xdotool keydown "$1" || fail "xdotool keydown $1"
    sleep 0.2
    timeout 5 xdotool keyup "$1" || fail "xdotool keyup $1"
}

# wait_exit SECONDS: waits for the game to end; sets $status to its exit status.
wait_exit() {
    tries=0
    limit=$(($1 * 10))
    while game_alive; do
        tries=$((tries + 1))
        [ $tries -le $limit ] || { cat "$work/game.log" >&2; fail "the game did not exit within $1 s"; }
        sleep 0.1
    done
    status=0
    wait "$game_pid" || status=$?
    game_pid=""
}

# title_play_quit SCALE [IN_PLAY]: with the game's window found ($window) at
# SCALE times 480 x 272, plays the part of a person: waits for the settled
# title screen, presses Z and sees play begin, runs the command IN_PLAY if
# given, presses Escape and expects exit status 0.
# SKYREEL_SHOTS_DIR, when set, receives title.png and play.png.
title_play_quit() {
    scale=$1
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
    # The confirmed title blinks for 91 updates (about 1.5 s) before play
    # begins: wait for the picture to leave the title, checking every half
    # second for at most 15 s (a slow machine or wine may take a while).
    minimum=$((480 * 272 * scale * scale / 20))
    tries=0
    while :; do
        sleep 0.5
        game_alive || { cat "$work/game.log" >&2; fail "the game exited after Z"; }
        screenshot "$work/play.png"
        changed=$(differing_pixels "$work/title.png" "$work/play.png")
        [ "$changed" -ge "$minimum" ] && [ "$(colours "$work/play.png" "$field")" -ge 4 ] && break
        tries=$((tries + 1))
        [ $tries -le 30 ] ||
            fail "no play within 15 s of Z: $changed pixels differ from the title (at least $minimum wanted)"
    done
    echo "play: $changed pixels differ from the title (at least $minimum wanted)"

    if [ -n "${SKYREEL_SHOTS_DIR:-}" ]; then
        cp "$work/title.png" "$work/play.png" "$SKYREEL_SHOTS_DIR/"
    fi
    [ -z "${2:-}" ] || "$2"

    press Escape
    wait_exit 5
    [ "$status" = 0 ] || { cat "$work/game.log" >&2; fail "exit status $status after Escape"; }
}
