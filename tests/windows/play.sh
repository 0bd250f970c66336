#!/bin/sh
# End to end on Windows, as far as Debian can go: the download unzipped into
# an empty folder holds the exe, its two SDL DLLs (importing nothing else
# but Windows' own DLLs), data/, README.txt and the licences; under wine, on
# a private X server, skyreel.exe started from another folder opens its title
# window at the largest scale that fits the screen, Z starts a game, the ship
# moves and fires, and Escape quits with exit status 0 and no stdout.txt or
# stderr.txt left beside the exe.
#
# Usage: play.sh ZIP
set -eu
tests=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tests/windows/wine.sh
. "$tests/windows/wine.sh"

zip=$1
make_workdir
need_tools unzip x86_64-w64-mingw32-objdump
unzip_download "$zip"

# What the folder holds, and nothing more.
(cd "$zip_dir" && find . -type f | LC_ALL=C sort) >"$work/files"
for want in ./skyreel.exe ./SDL.dll ./SDL_mixer.dll ./README.txt ./LICENSE.txt \
    ./licenses/SDL-LICENSE.txt ./licenses/SDL_mixer-LICENSE.txt ./data/texture1.png; do
    grep -qx "$want" "$work/files" || fail "the download lacks $want"
done
extra=$(grep -v -e '^\./data/' -e '^\./licenses/' -e '^\./skyreel\.exe$' -e '^\./SDL\.dll$' \
    -e '^\./SDL_mixer\.dll$' -e '^\./README\.txt$' -e '^\./LICENSE\.txt$' "$work/files" || true)
[ -z "$extra" ] || fail "the download holds more than the game: $extra"
(cd "$tests/.." && find data -type f | LC_ALL=C sort | sed 's#^#./#') >"$work/data-want"
grep '^\./data/' "$work/files" | cmp -s - "$work/data-want" || fail "data/ differs from the sources' data/"

# Every DLL imported is shipped beside the exe or is one of Windows' own.
system_dlls=" KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll SHELL32.dll WINMM.dll msvcrt.dll "
for binary in skyreel.exe SDL.dll SDL_mixer.dll; do
    x86_64-w64-mingw32-objdump -p "$zip_dir/$binary" | sed -n 's/^\tDLL Name: //p' >"$work/imports"
    [ -s "$work/imports" ] || fail "$binary imports nothing: not a Windows program?"
    while read -r dll; do
        case "$system_dlls" in *" $dll "*) continue ;; esac
        [ -f "$zip_dir/$dll" ] || fail "$binary imports $dll, which is neither shipped nor Windows' own"
    done <"$work/imports"
    echo "$binary imports: $(tr '\n' ' ' <"$work/imports")"
done

# The X server first: wine's desktop process, started with the prefix, keeps
# the display it found.
start_xvfb 1600x1000
start_wine

# SDL cannot start (no such video driver): the fixed line on standard output,
# SDL's reason on standard error, status 255 (the game's -1), as on Linux.
rc=0
(cd "$work" && SDL_VIDEODRIVER=none timeout 60 wine "$zip_dir/skyreel.exe" \
    >"$work/nostart.out" 2>"$work/nostart.err") || rc=$?
[ "$rc" = 255 ] || fail "SDL not starting: exit status $rc, not 255"
[ "$(tr -d '\r' <"$work/nostart.out")" = "SDL initialize error." ] || fail "SDL not starting: standard output"
[ -s "$work/nostart.err" ] || fail "SDL not starting: no reason on standard error"
echo "SDL not starting: $(tr -d '\r' <"$work/nostart.err")"

# The work area is the whole 1600 x 1000 screen: 1000 / 272 leaves room for
# the caption at scale 3 (1440 x 816).
start_game wine "$zip_dir/skyreel.exe"
find_window
check_geometry 1440 816

# ship_x FILE: where the ship is across the play field, in game pixels from
# its left edge: the centre of the bright pixels in the rows the ship flies
# in (the bottom 24 of the field; the backdrop there is dark).
ship_x() {
    convert "$1" -crop "$((224 * 3))x$((24 * 3))+$((80 * 3))+$((232 * 3))" +repage \
        -colorspace gray -threshold 60% -scale "$((224 * 3))x1!" -depth 8 txt:- |
        awk -F'[,:() ]+' 'NR > 1 { mass += $3; sum += $3 * $1 }
            END { if (mass == 0) print -1; else printf "%d\n", sum / mass / 3 }'
}

# Move and fire once play has begun: holding Right slides the ship to the
# right (2 pixels an update), Space fires.
move_and_fire() {
    timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null || true
    screenshot "$work/before-move.png"
    from=$(ship_x "$work/before-move.png")
    [ "$from" -ge 0 ] || fail "no ship in its rows after Z"
    # Hold Right until the ship has gone 16 pixels, looking every 0.3 s for at
    # most 9 s.
    timeout 5 xdotool keydown Right || fail "xdotool keydown Right"
    tries=0
    while :; do
        sleep 0.3
        screenshot "$work/after-move.png"
        to=$(ship_x "$work/after-move.png")
        [ "$to" -ge $((from + 16)) ] && break
        tries=$((tries + 1))
        [ $tries -le 30 ] || {
            timeout 5 xdotool keyup Right
            fail "the ship did not move right on Right within 9 s (x $from, then $to)"
        }
    done
    timeout 5 xdotool keyup Right || fail "xdotool keyup Right"
    echo "move: the ship went from x $from to x $to"
    press space
    game_alive || { cat "$work/game.log" >&2; fail "the game exited on Space"; }
}
title_play_quit 3 move_and_fire

for file in stdout.txt stderr.txt; do
    [ ! -e "$zip_dir/$file" ] || fail "$file was written beside the exe"
done
echo "PASS: the Windows download plays under wine"
