#!/bin/sh
# Fails, naming each file, when a tracked C++ source differs from what the
# project's .clang-format makes of it. Run from anywhere inside the tree.
cd "$(git rev-parse --show-toplevel)" || exit 2
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed"; exit 2; }

bad=0
for f in $(git ls-files '*.cpp' '*.h'); do
    if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
        echo "check-format: $f is not formatted (clang-format -i $f)"
        bad=1
    fi
done
[ "$bad" = 0 ] && echo "check-format: every C++ file is formatted"
exit "$bad"
