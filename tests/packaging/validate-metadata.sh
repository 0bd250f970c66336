#!/bin/sh
# The desktop entry, the metainfo and the manual page pass their validators
# and agree with each other on the id and categories; the version given by
# project() reaches the launcher, the metainfo and the manual page, and the two
# changelogs written by hand (CHANGELOG.md, debian/changelog) name it on top,
# with the release date of CHANGELOG.md's heading.
#
# Usage: validate-metadata.sh SOURCE_DIR GENERATED_DIR VERSION
#   GENERATED_DIR holds the launcher, metainfo and manual page made by CMake.
set -eu
# shellcheck source=tests/packaging/lib.sh
. "$(dirname "$0")/lib.sh"

source=$1
generated=$2
version=$3
need_tools desktop-file-validate appstreamcli man
desktop="$source/packaging/org.skyreel.Skyreel.desktop"
metainfo="$generated/org.skyreel.Skyreel.metainfo.xml"

desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"

grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "desktop categories"
grep -qx 'Exec=skyreel' "$desktop" || fail "desktop Exec"
grep -qx 'Icon=skyreel' "$desktop" || fail "desktop Icon"
grep -q '<id>org.skyreel.Skyreel</id>' "$metainfo" || fail "metainfo id"
grep -q '<launchable type="desktop-id">org.skyreel.Skyreel.desktop</launchable>' "$metainfo" ||
    fail "metainfo launchable does not name the desktop file"

warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$generated/skyreel.6" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"

# One version everywhere.
said=$(sh "$generated/skyreel" --version) || fail "skyreel --version failed"
[ "$said" = "skyreel $version" ] || fail "skyreel --version says '$said', not 'skyreel $version'"
first_release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$first_release" = "$version" ] || fail "the metainfo's newest release is '$first_release', not $version"
grep -q "^\.TH SKYREEL 6 [0-9-]* \"Skyreel $version\"" "$generated/skyreel.6" ||
    fail "the manual page does not name version $version"
# An "Unreleased" section may stand above the newest release.
top=$(grep -m 1 '^## \[[0-9]' "$source/CHANGELOG.md")
case $top in "## [$version] "*) ;; *) fail "CHANGELOG.md begins with '$top', not version $version" ;; esac
head -n 1 "$source/debian/changelog" | grep -q "^skyreel ($version-[0-9]*) " ||
    fail "debian/changelog does not begin with version $version"
# The release date is written once, in CHANGELOG.md's heading; the metainfo
# and the manual page are made from it, and debian/changelog must agree.
released=${top##* - }
grep -q "<release version=\"$version\" date=\"$released\">" "$metainfo" ||
    fail "the metainfo does not give $version the date $released of CHANGELOG.md"
grep -q "^\.TH SKYREEL 6 $released " "$generated/skyreel.6" ||
    fail "the manual page is not dated $released as CHANGELOG.md is"
signed=$(sed -n 's/^ -- .*>  \(.*\)$/\1/p' "$source/debian/changelog" | head -n 1)
[ "$(date -u -d "$signed" +%F 2>/dev/null)" = "$released" ] ||
    fail "debian/changelog's newest entry is dated '$signed', not $released as CHANGELOG.md"
echo "PASS: desktop entry, metainfo and manual page; version $version and date $released throughout"
