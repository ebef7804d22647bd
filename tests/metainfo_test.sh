#!/usr/bin/env bash
# Validates what software centres read: the AppStream metainfo (offline) and the
# desktop entry it launches, and checks that its release is the programs' version.
# Arguments: the metainfo file, the desktop entry, tabulon-cli.
set -uo pipefail
metainfo=$1 desktop=$2 cli=$3
for tool in appstreamcli desktop-file-validate; do
    command -v $tool >/dev/null || { echo "$tool is not installed"; exit 77; }
done
status=0
appstreamcli validate --no-net --explain "$metainfo" || { echo "FAIL the metainfo is not valid"; status=1; }
desktop-file-validate "$desktop" || { echo "FAIL the desktop entry is not valid"; status=1; }

version=$("$cli" --version | grep -oE '[0-9]+\.[0-9]+\.[0-9]+' | head -1)
grep -q "<release version=\"$version\"" "$metainfo" ||
    { echo "FAIL the metainfo's release is not version $version"; grep -n '<release' "$metainfo"; status=1; }
# A software centre starts the program through the desktop entry named by the id.
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    { echo "FAIL the metainfo launches no $id.desktop"; status=1; }
[[ $(basename "$metainfo") == "$id.metainfo.xml" ]] || { echo "FAIL $metainfo is not named by its id $id"; status=1; }
exit $status
