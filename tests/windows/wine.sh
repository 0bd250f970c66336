# shellcheck shell=sh
# shellcheck disable=SC2034,SC2154 # $zip_dir is read by the scripts, $work set by lib.sh
# Helpers for the Windows tests, over the packaging tests' lib.sh: a private
# wine prefix in the work folder, quiet (no debug output, no Mono or Gecko
# prompts), without sound hardware, and the download unzipped into an empty
# folder. Sourced by the test scripts (POSIX sh), with $tests set to the
# tests/ folder; it brings lib.sh in itself.

pkg_tests=$tests/packaging
# shellcheck source=tests/packaging/lib.sh
. "$pkg_tests/lib.sh"

# start_wine: skips when wine is missing; makes a fresh 64-bit wine prefix and
# stops its wineserver at exit. Start the X server first, if any.
start_wine() {
    command -v wine >/dev/null 2>&1 || skip "wine not found (run tools/install-windows-deps.sh)"
    WINEPREFIX="$work/wine"
    WINEARCH=win64
    WINEDEBUG=-all
    WINEDLLOVERRIDES="mscoree,mshtml="
    SDL_AUDIODRIVER=dummy
    export WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES SDL_AUDIODRIVER
    trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
    timeout 300 wineboot -i >"$work/wineboot.log" 2>&1 ||
        { cat "$work/wineboot.log" >&2; fail "wineboot could not make a wine prefix"; }
}

# unzip_download ZIP: unzips the download into an empty folder; sets
# $zip_dir to the folder it holds.
unzip_download() {
    [ -f "$1" ] || skip "no Windows download at $1 (make windows builds it)"
    mkdir "$work/unzipped"
    unzip -q "$1" -d "$work/unzipped" || fail "unzip $1"
    zip_dir=$(find "$work/unzipped" -mindepth 1 -maxdepth 1 -type d)
    if [ -z "$zip_dir" ] || [ "$(echo "$zip_dir" | wc -l)" != 1 ]; then
        fail "the zip does not hold one folder: $(ls "$work/unzipped")"
    fi
}
