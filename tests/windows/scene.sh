#!/bin/sh
# The same pixels on Windows: the fixed heavy scene drawn by the Windows
# build of the scene program under wine matches, picture for picture, the
# Linux build's (hashes of every pixel's R, G, B). The frame times of both
# are printed for the record, not judged.
#
# Usage: scene.sh LINUX_SCENE WINDOWS_SCENE_EXE SOURCE_DIR
set -eu
tests=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tests/windows/wine.sh
. "$tests/windows/wine.sh"

linux=$1
windows=$2
source=$3
make_workdir
[ -f "$windows" ] || skip "no Windows scene program at $windows (make windows builds it)"
start_wine

# Both run in the source folder, where the scene finds data/.
(cd "$source" && SDL_VIDEODRIVER=dummy "$linux" --frames 5) >"$work/linux.out" ||
    fail "the Linux scene program failed"
(cd "$source" && timeout 300 wine "$windows" --frames 5) >"$work/windows.out" 2>"$work/windows.err" ||
    { cat "$work/windows.err" >&2; fail "the Windows scene program failed under wine"; }
tr -d '\r' <"$work/windows.out" >"$work/windows.txt"

grep '^scene ' "$work/linux.out" >"$work/linux.scenes"
grep '^scene ' "$work/windows.txt" >"$work/windows.scenes" || true
[ -s "$work/linux.scenes" ] || fail "the Linux scene program drew no pictures"
if ! cmp -s "$work/linux.scenes" "$work/windows.scenes"; then
    diff "$work/linux.scenes" "$work/windows.scenes" >&2 || true
    fail "the Windows pictures differ from the Linux ones"
fi
echo "$(wc -l <"$work/linux.scenes") pictures identical;" \
    "frame time Linux $(sed -n 's/^frame_us //p' "$work/linux.out") us," \
    "Windows under wine $(sed -n 's/^frame_us //p' "$work/windows.txt") us"
echo "PASS: the Windows scene matches the Linux one"
