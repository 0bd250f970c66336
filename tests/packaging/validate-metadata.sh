#!/bin/sh
# The desktop entry, the metainfo and the manual page as written in packaging/
# pass their validators, and agree with each other on the id and categories.
#
# Usage: validate-metadata.sh PACKAGING_DIR
set -eu
# shellcheck source=tests/packaging/lib.sh
. "$(dirname "$0")/lib.sh"

dir=$1
need_tools desktop-file-validate appstreamcli man
desktop="$dir/org.skyreel.Skyreel.desktop"
metainfo="$dir/org.skyreel.Skyreel.metainfo.xml"

desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"

grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "desktop categories"
grep -qx 'Exec=skyreel' "$desktop" || fail "desktop Exec"
grep -qx 'Icon=skyreel' "$desktop" || fail "desktop Icon"
grep -q '<id>org.skyreel.Skyreel</id>' "$metainfo" || fail "metainfo id"
grep -q '<launchable type="desktop-id">org.skyreel.Skyreel.desktop</launchable>' "$metainfo" ||
    fail "metainfo launchable does not name the desktop file"

warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$dir/skyreel.6" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"
echo "PASS: desktop entry, metainfo and manual page"
