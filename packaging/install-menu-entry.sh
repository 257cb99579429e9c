#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Adds Quennel, as unpacked in this folder, to your desktop's menu, for you alone:
#
#   ./install-menu-entry.sh            writes the menu entry "Quennel" into
#                                      ${XDG_DATA_HOME:-~/.local/share}/applications
#   ./install-menu-entry.sh --remove   takes it out again
#
# A menu entry needs the program's absolute path, so run it again after moving the folder. An
# entry of the same name that a package installed for everyone is hidden behind this one while it
# exists.
set -eu

here=$(cd "$(dirname "$0")" && pwd -P)
app_id=io.github.quennel.Quennel
applications=${XDG_DATA_HOME:-$HOME/.local/share}/applications
entry=$applications/$app_id.desktop

usage() { sed -n '3,11s/^# \{0,1\}//p' "$0"; }
case "${1:-}" in
"") ;;
-h | --help)
    usage
    exit 0
    ;;
--remove)
    rm -f "$entry"
    echo "Removed $entry"
    exit 0
    ;;
*)
    usage >&2
    exit 2
    ;;
esac

case "$here" in
*'
'*)
    echo "install-menu-entry: a menu entry cannot name a folder with a line break: $here" >&2
    exit 1
    ;;
esac

# A menu entry's text escapes each backslash. Its command line quotes the program's path in
# double quotes, inside which ", \`, $ and \ take a backslash; a % is doubled.
escape() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
quoted=$(printf '%s' "$here/quennel" | sed -e 's/[\\"`$]/\\&/g' -e 's/%/%%/g')
EXEC=$(escape "\"$quoted\"")
TRY_EXEC=$(escape "$here/quennel")
ICON=$(escape "$here/share/icons/hicolor/256x256/apps/quennel.png")
export EXEC TRY_EXEC ICON

mkdir -p "$applications"
# The entry the package ships, with this folder's program and icon in place of the installed
# ones; written beside the entry and then moved, so that a menu never reads half of it.
awk '/^Exec=/ { print "Exec=" ENVIRON["EXEC"]; print "TryExec=" ENVIRON["TRY_EXEC"]; next }
     /^Icon=/ { print "Icon=" ENVIRON["ICON"]; next }
     { print }' "$here/share/applications/$app_id.desktop" >"$entry.new"
mv "$entry.new" "$entry"
if command -v update-desktop-database >/dev/null 2>&1; then
    update-desktop-database "$applications" 2>/dev/null || true
fi
echo "Quennel is in your menu: $entry"
