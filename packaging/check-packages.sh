#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the packages that cpack wrote into BUILD_DIR: what each one holds, that the desktop entry and
# the metainfo inside the .deb validate, and that the tarball's program runs wherever it is unpacked.
#
#   check-packages.sh BUILD_DIR
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:?usage: check-packages.sh BUILD_DIR}
app_id=io.github.quennel.Quennel

fail() {
    echo "check-packages: FAIL: $*" >&2
    exit 1
}
# exactly one file matching the pattern
one() {
    local found=("$build"/$1)
    [ ${#found[@]} -eq 1 ] && [ -f "${found[0]}" ] || fail "expected one $1 in $build, found: ${found[*]}"
    echo "${found[0]}"
}
has() {
    grep -qxF -- "$2" <<<"$1" || fail "$3 lacks $2"
}

deb=$(one 'quennel_*.deb')
tgz=$(one 'quennel-*.tar.gz')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The .deb: "path" or "path -> link target" per entry.
deb_list=$(dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }')
for entry in ./opt/quennel/quennel ./etc/quennel/id.txt \
    "./opt/quennel/id.txt -> /etc/quennel/id.txt" "./usr/bin/quennel -> /opt/quennel/quennel" \
    ./usr/share/applications/$app_id.desktop ./usr/share/metainfo/$app_id.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/quennel.png ./usr/share/icons/hicolor/256x256/apps/quennel.png; do
    has "$deb_list" "$entry" "$(basename "$deb")"
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6; do
    [[ $depends == *"$lib"* ]] || fail "the .deb does not depend on $lib (Depends: $depends)"
done
# The user's own catalogue must survive upgrades: dpkg keeps a changed conffile.
[ "$(dpkg-deb -I "$deb" conffiles)" = /etc/quennel/id.txt ] \
    || fail "/etc/quennel/id.txt is not the .deb's one conffile"
echo "check-packages: $(basename "$deb") holds the program folder, command, menu entry, icons, metainfo"
echo "check-packages: Depends: $depends"

dpkg-deb -x "$deb" "$work/deb"
desktop-file-validate "$work/deb/usr/share/applications/$app_id.desktop" \
    || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$work/deb/usr/share/metainfo/$app_id.metainfo.xml" \
    || fail "the metainfo does not validate"
grep -qx 'Icon=quennel' "$work/deb/usr/share/applications/$app_id.desktop" \
    || fail "the desktop entry does not name the theme icon quennel"
[ "$(head -n1 "$work/deb/etc/quennel/id.txt" | tr -d '\r')" = '[ID]' ] \
    || fail "the packaged id.txt is not the sample catalogue"

# The tarball: one folder, the program and id.txt at its top.
tar_list=$(tar -tzf "$tgz")
top=$(sed -n '1s#/.*##p' <<<"$tar_list")
[ -n "$top" ] || fail "$(basename "$tgz") is empty"
if grep -v "^$top/" <<<"$tar_list" | grep -q .; then
    fail "$(basename "$tgz") does not hold one folder $top"
fi
has "$tar_list" "$top/quennel" "$(basename "$tgz")"
has "$tar_list" "$top/id.txt" "$(basename "$tgz")"
has "$tar_list" "$top/share/applications/$app_id.desktop" "$(basename "$tgz")"
echo "check-packages: $(basename "$tgz") holds one folder $top with the program and id.txt"

# Unpacked somewhere else entirely and started from yet another working directory, the program
# must still find the id.txt beside it: the full real-display check proves the catalogue was read.
mkdir -p "$work/some place/elsewhere" "$work/cwd"
tar -xzf "$tgz" -C "$work/some place/elsewhere"
(cd "$work/cwd" && "$here/../tests/display/check-window.sh" "$work/some place/elsewhere/$top/quennel") \
    || fail "the unpacked tarball's program did not pass the display check"
echo "check-packages: OK"
