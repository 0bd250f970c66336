# shellcheck shell=sh
# Sourced by the install scripts. install_missing PACKAGE...: installs with
# apt-get those of the Debian packages named that are not installed yet, with
# sudo unless run as root; does nothing when all are present.
install_missing() {
    missing=""
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
            missing="$missing $p"
        fi
    done
    [ -z "$missing" ] && return 0

    echo "Installing:$missing"
    SUDO=""
    if [ "$(id -u)" != 0 ]; then
        SUDO="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update
    # shellcheck disable=SC2086
    $SUDO apt-get install -y --no-install-recommends $missing
}
