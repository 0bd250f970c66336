#!/bin/sh
# Installs what the browser version needs to build and to be tested, when any
# of it is missing: Debian's Emscripten, Chromium, Node.js with npm, zip, and
# the pinned Node packages of web/ (puppeteer-core, which drives the Debian
# Chromium and downloads no browser of its own). Safe to run again.
set -e
cd "$(dirname "$0")/.."

PACKAGES="emscripten chromium zip python3"
command -v node >/dev/null 2>&1 || PACKAGES="$PACKAGES nodejs"
# A Node.js from elsewhere brings its own npm; Debian's comes as a package.
command -v npm >/dev/null 2>&1 || PACKAGES="$PACKAGES npm"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    SUDO=""
    if [ "$(id -u)" != 0 ]; then
        SUDO="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update
    # shellcheck disable=SC2086
    $SUDO apt-get install -y --no-install-recommends $missing
fi

# The lock file pins every Node package; `npm ci` installs exactly those.
# A copy of the lock file in node_modules marks a finished install.
if ! cmp -s web/package-lock.json web/node_modules/.skyreel-installed 2>/dev/null; then
    (cd web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund &&
        cp package-lock.json node_modules/.skyreel-installed)
fi
