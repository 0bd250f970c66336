#!/bin/sh
# Runs the libFuzzer targets one after another, each in a single process, from
# the committed seeds plus what earlier runs found. Needs a build configured
# with CC=clang CXX=clang++ -DSKYREEL_FUZZ=ON.
#
#   tools/fuzz/run.sh BUILD_DIR [SECONDS [TARGET...]]
#
# SECONDS per target defaults to 600; TARGET is sound_list, texture or
# debug_console (default: all three). Each target works in
# BUILD_DIR/fuzz-work/TARGET: corpus/ (new inputs), artifacts/ (crashes, to
# be turned into a test and a seed under tools/fuzz/corpus) and fuzz-0.log.
# The targets change into a scratch folder of their own, so every path given
# to them is absolute.
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR [SECONDS [TARGET...]]}" && pwd)
seconds=${2:-600}
if [ $# -ge 2 ]; then shift 2; else shift $#; fi
targets=${*:-sound_list texture debug_console}

for target in $targets; do
    case $target in
        sound_list) max_len=4096 ;;
        texture | debug_console) max_len=16384 ;;
        *) echo "unknown target: $target" >&2; exit 2 ;;
    esac
    work=$build/fuzz-work/$target
    mkdir -p "$work/corpus" "$work/artifacts"
    echo "== $target: $seconds s, inputs up to $max_len bytes"
    (cd "$work" && LSAN_OPTIONS=suppressions=$here/lsan.supp \
        "$build/tools/fuzz/fuzz_$target" "$work/corpus" "$here/corpus/$target" \
        -jobs=1 -workers=1 -max_total_time="$seconds" -max_len="$max_len" \
        -rss_limit_mb=2048 -timeout=30 \
        -artifact_prefix="$work/artifacts/" -print_final_stats=1) || true
    tail -n 25 "$work/fuzz-0.log"
    if [ -n "$(ls "$work/artifacts")" ]; then
        echo "== $target: findings in $work/artifacts" >&2
        status=1
    fi
done
exit "${status:-0}"
