#!/usr/bin/env bash
# Installs the Debian package into this machine, runs the three installed
# programs from /usr/bin and removes the package again, checking that none of
# its files is left. Needs root; refuses to touch a tabulon installed before.
# package_test.sh RELEASE_BUILD_FOLDER
set -euo pipefail
debs=("$1"/tabulon_*.deb)
[[ ${#debs[@]} == 1 && -f ${debs[0]} ]] || { echo "want exactly one package in $1, found: ${debs[*]}"; exit 1; }
deb=$(realpath "${debs[0]}")
if dpkg-query -W -f='${Status}' tabulon 2>/dev/null | grep -q 'install ok installed'; then
    echo "tabulon is installed already: not replacing it"
    exit 1
fi
work=$(mktemp -d)
purged=false
cleanup() {
    $purged || apt-get purge -y -q tabulon >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "package test: $*"; exit 1; }

DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
version=$(dpkg-deb -f "$deb" Version)
version=${version%-*}

# The programs come from /usr/bin and print the package's version.
for program in tabulon tabulon-cli tabulon-host; do
    [[ $(command -v $program) == /usr/bin/$program ]] || fail "$program is not /usr/bin/$program"
    [[ $(/usr/bin/$program --version) == "$program $version" ]] || fail "$program --version: $(/usr/bin/$program --version)"
done
# Stripped, and no RUNPATH: nothing of theirs is searched for beside them.
for binary in /usr/bin/tabulon /usr/bin/tabulon-cli /usr/bin/tabulon-host /usr/lib/*/tabulon/*.so /usr/lib/*/tabulon/tabulon-decoder; do
    ! readelf -d "$binary" | grep -Eq 'RPATH|RUNPATH' || fail "$binary has a search path: $(readelf -d "$binary" | grep PATH)"
    ! readelf -S --wide "$binary" | grep -q ' \.symtab ' || fail "$binary is not stripped"
done
/usr/bin/tabulon-host --help | grep -q '^Usage: tabulon-host' || fail "tabulon-host --help"

# The batch program finds its presets in /usr/share/tabulon and its modules
# (natural order, picture sizes) in the library folder.
mkdir "$work/pictures"
cp "$(dirname "$0")"/../examples/*.png "$work/pictures/"
out=$(/usr/bin/tabulon-cli --preset css-grid --sort natural "$work/pictures")
for picture in "$work"/pictures/*.png; do
    grep -qF "$(basename "$picture")" <<<"$out" || fail "css-grid list lacks $(basename "$picture"): $out"
done
grep -q '<div class="gallery">' <<<"$out" || fail "not the css-grid preset: $out"
grep -Eq 'width="[1-9][0-9]*" height="[1-9][0-9]*"' <<<"$out" || fail "no picture sizes: $out"
# And reads pictures through its decoder, beside the modules.
thumbs=$(/usr/bin/tabulon-cli --no-comments --top= --bottom= --end-entry= --entry '{{THUMBWIDTH(8)}} ' "$work"/pictures/*.png)
[[ $thumbs =~ ^(8 )+$ ]] || fail "no thumbnails: $thumbs"

# The window: records its help folder, then starts offscreen, stays up, and
# ends in order on SIGTERM.
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$XDG_RUNTIME_DIR"
/usr/bin/tabulon /setupregistry
grep -qx "Root=/usr/share/tabulon" "$XDG_CONFIG_HOME/Tabulon/tabulon.ini" || fail "window's help folder: $(cat "$XDG_CONFIG_HOME/Tabulon/tabulon.ini")"
/usr/bin/tabulon "$work"/pictures/*.png &
window=$!
sleep 3
kill -0 $window 2>/dev/null || { wait $window || true; fail "the window ended by itself"; }
kill -TERM $window
status=0
timeout 20 tail --pid=$window -f /dev/null || { kill -KILL $window; fail "the window did not end on SIGTERM"; }
wait $window || status=$?
[[ $status == 0 ]] || fail "the window ended with status $status on SIGTERM"

# Removed, nothing of it is left: no file the package brought, no folder of its own.
files=$(dpkg -L tabulon)
apt-get purge -y -q tabulon >/dev/null
purged=true
! dpkg -L tabulon >/dev/null 2>&1 || fail "dpkg still lists tabulon"
while IFS= read -r path; do
    [[ -d $path ]] && continue
    [[ ! -e $path && ! -L $path ]] || fail "left behind: $path"
done <<<"$files"
for dir in /usr/share/tabulon /usr/lib/*/tabulon /usr/share/doc/tabulon; do
    [[ ! -e $dir ]] || fail "left behind: $dir"
done
echo "package installs, runs and is removed cleanly"
