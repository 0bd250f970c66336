#!/bin/sh
# Fails, naming each finding, when the pinned ESLint (tools/checks/eslint/,
# installed by tools/install-web-deps.sh) finds fault with any JavaScript
# under web/ (.js and .mjs, node_modules left out). Run from anywhere inside
# the tree.
cd "$(git rev-parse --show-toplevel)" || exit 2
lint=tools/checks/eslint
[ -x "$lint/node_modules/.bin/eslint" ] ||
    { echo "check-js: ESLint is not installed (tools/install-web-deps.sh)"; exit 2; }

list=$(mktemp)
trap 'rm -f "$list"' EXIT
find web -name node_modules -prune -o -type f \( -name '*.js' -o -name '*.mjs' \) -print | sort >"$list"
[ -s "$list" ] || { echo "check-js: no JavaScript under web/"; exit 2; }

# shellcheck disable=SC2046 # one file per line, no spaces in web/'s names
if "$lint/node_modules/.bin/eslint" --max-warnings 0 --config "$lint/eslint.config.mjs" $(cat "$list"); then
    echo "check-js: $(wc -l <"$list") JavaScript files pass ESLint"
else
    exit 1
fi
