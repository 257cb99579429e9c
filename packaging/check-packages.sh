#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the packages that cpack wrote into BUILD_DIR: what each one holds; that lintian passes the
# .deb and its desktop entry, metainfo and manual validate; that the programs of both run.
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
for entry in ./usr/lib/quennel/quennel "./usr/lib/quennel/id.txt -> /etc/quennel/id.txt" \
    ./etc/quennel/id.txt "./usr/bin/quennel -> ../lib/quennel/quennel" \
    ./usr/share/applications/$app_id.desktop ./usr/share/metainfo/$app_id.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/quennel.png \
    ./usr/share/icons/hicolor/256x256/apps/quennel.png \
    ./usr/share/man/man1/quennel.1.gz \
    ./usr/share/doc/quennel/copyright ./usr/share/doc/quennel/changelog.gz; do
    has "$deb_list" "$entry" "$(basename "$deb")"
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6; do
    [[ $depends == *"$lib"* ]] || fail "the .deb does not depend on $lib (Depends: $depends)"
done
# The user's own catalogue must survive upgrades: dpkg keeps a changed conffile.
[ "$(dpkg-deb -I "$deb" conffiles)" = /etc/quennel/id.txt ] \
    || fail "/etc/quennel/id.txt is not the .deb's one conffile"
echo "check-packages: $(basename "$deb") holds the program folder, command, menu entry, icons," \
    "metainfo, manual, copyright, changelog"
echo "check-packages: Depends: $depends"

# Debian's checker: no error and no warning, and no other tag than those explained in
# lintian-tags-left. As root it says that root is not recommended; that is no tag.
lintian_status=0
lintian_out=$(lintian --fail-on error,warning --display-info --pedantic --display-experimental \
    "$deb" 2>&1) || lintian_status=$?
echo "$lintian_out" | sed 's/^/lintian: /'
left=$(sed -n 's/^\([a-z0-9][a-z0-9-]*\).*/\1/p' "$here/lintian-tags-left")
while read -r level _ tag _; do
    case "$level" in
    E: | W:) fail "lintian reports the $level $tag" ;;
    I: | P: | X:)
        grep -qxF -- "$tag" <<<"$left" \
            || fail "lintian reports $level $tag, not in lintian-tags-left"
        ;;
    esac
done <<<"$lintian_out"
[ "$lintian_status" -eq 0 ] || fail "lintian exited with status $lintian_status"
echo "check-packages: lintian passes $(basename "$deb")"
# lintian sees fortification only where the compiler could use it: the flag itself must be in
# every compile command of the build.
if grep '"command"' "$build/compile_commands.json" | grep -v -q -e '-D_FORTIFY_SOURCE='; then
    fail "a compile command in $build lacks -D_FORTIFY_SOURCE: build it with ./build.sh package"
fi

dpkg-deb -x "$deb" "$work/deb"
desktop-file-validate "$work/deb/usr/share/applications/$app_id.desktop" \
    || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$work/deb/usr/share/metainfo/$app_id.metainfo.xml" \
    || fail "the metainfo does not validate"
grep -qx 'Icon=quennel' "$work/deb/usr/share/applications/$app_id.desktop" \
    || fail "the desktop entry does not name the theme icon quennel"
[ "$(head -n1 "$work/deb/etc/quennel/id.txt" | tr -d '\r')" = '[ID]' ] \
    || fail "the packaged id.txt is not the sample catalogue"
# The manual renders without a single complaint from groff.
manual=$work/deb/usr/share/man/man1/quennel.1.gz
man_warnings=$(MANWIDTH=80 man --warnings -l "$manual" 2>&1 >"$work/manual.txt") \
    || fail "man cannot render quennel(1)"
[ -z "$man_warnings" ] || fail "quennel(1) renders with warnings: $man_warnings"
grep -q '^NAME' "$work/manual.txt" || fail "quennel(1) renders without its NAME section"
# A new version needs its own changelog entry.
changelog_version=$(zcat "$work/deb/usr/share/doc/quennel/changelog.gz" \
    | dpkg-parsechangelog -l - -S Version)
deb_version=$(dpkg-deb -f "$deb" Version)
[ "$changelog_version" = "$deb_version" ] \
    || fail "the changelog's latest entry is $changelog_version, the package $deb_version"
echo "check-packages: desktop entry, metainfo, manual and changelog check out"

# The tarball: one folder, the program, id.txt and LICENSE at its top.
tar_list=$(tar -tzf "$tgz")
top=$(sed -n '1s#/.*##p' <<<"$tar_list")
[ -n "$top" ] || fail "$(basename "$tgz") is empty"
if grep -v "^$top/" <<<"$tar_list" | grep -q .; then
    fail "$(basename "$tgz") does not hold one folder $top"
fi
for entry in quennel id.txt LICENSE install-menu-entry.sh share/applications/$app_id.desktop \
    share/icons/hicolor/256x256/apps/quennel.png share/man/man1/quennel.1.gz; do
    has "$tar_list" "$top/$entry" "$(basename "$tgz")"
done
echo "check-packages: $(basename "$tgz") holds one folder $top with the program, id.txt," \
    "LICENSE, the menu entry's script and the manual"

# Unpacked somewhere else entirely, into a folder whose name a menu entry must quote and escape,
# the tarball's script adds a menu entry that validates and whose command line, read as a desktop
# reads it, is the unpacked program.
unpacked="$work/some place/it's \"50%\" of \$HOME\\"
mkdir -p "$unpacked" "$work/cwd" "$work/data"
tar -xzf "$tgz" -C "$unpacked"
XDG_DATA_HOME="$work/data" "$unpacked/$top/install-menu-entry.sh" >/dev/null \
    || fail "the tarball's install-menu-entry.sh failed"
menu_entry=$work/data/applications/$app_id.desktop
desktop-file-validate "$menu_entry" || fail "the tarball's menu entry does not validate"
# What GLib makes of the entry: the words of its command line, the program it tries, its icon.
read_entry() {
    /usr/bin/python3 - "$1" <<'EOF'
import sys
from gi.repository import GLib
entry = GLib.KeyFile()
entry.load_from_file(sys.argv[1], GLib.KeyFileFlags.NONE)
command = entry.get_string("Desktop Entry", "Exec")
# The command line holds no field code but %%, a percent sign.
print("\n".join(GLib.shell_parse_argv(command.replace("%%", "%"))[1]))
print(entry.get_string("Desktop Entry", "TryExec"))
print(entry.get_string("Desktop Entry", "Icon"))
EOF
}
entry_read=$(read_entry "$menu_entry") || fail "GLib cannot read the tarball's menu entry"
expected_read=$(printf '%s\n' "$unpacked/$top/quennel" "$unpacked/$top/quennel" \
    "$unpacked/$top/share/icons/hicolor/256x256/apps/quennel.png")
[ "$entry_read" = "$expected_read" ] \
    || fail "the tarball's menu entry reads as: $entry_read; expected: $expected_read"
XDG_DATA_HOME="$work/data" "$unpacked/$top/install-menu-entry.sh" --remove >/dev/null
[ ! -e "$menu_entry" ] || fail "install-menu-entry.sh --remove left $menu_entry"
echo "check-packages: the tarball's menu entry starts its program where it was unpacked"

# Started as that menu entry starts it, from yet another working directory, the program must
# still find the id.txt beside it: the full real-display check proves the catalogue was read.
echo "check-packages: display check of the tarball's program"
(cd "$work/cwd" && "$here/../tests/display/check-window.sh" --in-place "$unpacked/$top/quennel") \
    || fail "the unpacked tarball's program did not pass the display check"

# The .deb's file tree, started through the program in usr/lib/quennel and through the command's
# relative link in usr/bin. Its id.txt links to the absolute /etc/quennel/id.txt, which on this
# machine is missing or someone's own catalogue: pointed at the tree's own conffile, the check
# proves that the program reads the id.txt beside itself, through a link, as when installed.
ln -sfn "$work/deb/etc/quennel/id.txt" "$work/deb/usr/lib/quennel/id.txt"
for program in usr/lib/quennel/quennel usr/bin/quennel; do
    echo "check-packages: display check of the .deb's $program"
    (cd "$work/cwd" && "$here/../tests/display/check-window.sh" --in-place "$work/deb/$program") \
        || fail "the .deb's $program did not pass the display check"
done
echo "check-packages: OK"
