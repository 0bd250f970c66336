#!/bin/sh
# Fails, naming each finding, when shellcheck has anything to say about a
# tracked shell script: every *.sh, and every other file that starts with a
# sh or bash #! line (the launcher's template, .ci/run ...). Scripts that are
# only sourced name their shell in a "# shellcheck shell=sh" line.
cd "$(git rev-parse --show-toplevel)" || exit 2
command -v shellcheck >/dev/null || { echo "check-shell: shellcheck is not installed"; exit 2; }

list=$(mktemp)
trap 'rm -f "$list"' EXIT
# shellcheck disable=SC2016 # the program is awk's
git ls-files -z | xargs -0 -r awk 'FNR == 1 {
    if (FILENAME ~ /\.sh$/ || $0 ~ /^#!.*[\/ ](sh|bash|dash)( |$)/) print FILENAME
    nextfile
}' >"$list"

bad=0
while read -r f; do
    shellcheck -x "$f" || bad=1
done <"$list"
[ "$bad" = 0 ] && echo "check-shell: $(wc -l <"$list") shell scripts pass shellcheck"
exit "$bad"
