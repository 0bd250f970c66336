#!/bin/sh
# Installs what the browser version needs to build and to be tested, when any
# of it is missing: Debian's Emscripten, Chromium, Node.js with npm, zip, and
# the pinned Node packages of web/ (puppeteer-core, which drives the Debian
# Chromium and downloads no browser of its own) and of tools/checks/eslint
# (the linter of web/'s JavaScript). Safe to run again.
set -e
cd "$(dirname "$0")/.."

PACKAGES="emscripten chromium zip python3"
command -v node >/dev/null 2>&1 || PACKAGES="$PACKAGES nodejs"
# A Node.js from elsewhere brings its own npm; Debian's comes as a package.
command -v npm >/dev/null 2>&1 || PACKAGES="$PACKAGES npm"

# shellcheck source=tools/install-missing.sh
. tools/install-missing.sh
# shellcheck disable=SC2086
install_missing $PACKAGES

# The lock file pins every Node package; `npm ci` installs exactly those.
# A copy of the lock file in node_modules marks a finished install.
for dir in web tools/checks/eslint; do
    if ! cmp -s "$dir/package-lock.json" "$dir/node_modules/.skyreel-installed" 2>/dev/null; then
        (cd "$dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund &&
            cp package-lock.json node_modules/.skyreel-installed)
    fi
done
