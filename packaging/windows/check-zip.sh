#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows zip: one folder with the program, the catalogue, the licences and the notes;
# quennel.exe a 64-bit GUI program that needs no DLL beyond Windows' own (each it imports is one
# that Wine's Windows folder holds, as Windows' does), carrying its version resource and Qt's
# Windows style.
#
#   check-zip.sh ZIP      the Wine prefix in WINEPREFIX names Windows' own DLLs
set -euo pipefail

zip=$(realpath "${1:?usage: check-zip.sh ZIP}")
name=$(basename "$zip" .zip)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "check-zip: FAIL: $*" >&2
    exit 1
}

(cd "$work" && cmake -E tar xf "$zip")
[ "$(ls "$work")" = "$name" ] || fail "the zip holds $(ls "$work" | tr '\n' ' ')instead of one folder $name"
folder=$work/$name
for file in quennel.exe id.txt LICENSE README.txt Qt/LGPL-3.0.txt Qt/GPL-3.0.txt Qt/COPYRIGHT.txt \
    Qt/SOURCE.txt; do
    [ -s "$folder/$file" ] || fail "no $file in the zip"
done

exe=$folder/quennel.exe
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q '^Magic[[:space:]]*020b' <<<"$headers" || fail "quennel.exe is no 64-bit (PE32+) program"
grep -q '^Subsystem[[:space:]]*00000002' <<<"$headers" || fail "quennel.exe is no GUI program"
system32=${WINEPREFIX:?check-zip needs WINEPREFIX}/drive_c/windows/system32
# API sets (api-ms-win-*) are names that Windows' loader itself resolves to its DLLs.
while read -r dll; do
    [[ ${dll,,} == api-ms-win-* ]] || [ -e "$system32/${dll,,}" ] \
        || fail "quennel.exe needs $dll, which is no DLL of Windows"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")

# The version resource's texts are UTF-16.
strings -e l "$exe" >"$work/texts"
for text in ProductName Quennel FileVersion LegalCopyright FileDescription; do
    grep -qx "$text" "$work/texts" || fail "quennel.exe's version resource lacks \"$text\""
done
# Qt's Windows style is linked in: its plugin names itself in the program's data.
strings "$exe" >"$work/ascii"
grep -qx windowsvista "$work/ascii" || fail "quennel.exe lacks Qt's windowsvista style"

echo "check-zip: $name.zip holds one folder; quennel.exe is a 64-bit GUI program of $(du -k "$exe" | cut -f1) KiB that needs only Windows' own DLLs:"
sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | sort -f | paste -sd' ' | fold -s -w 96 \
    | sed 's/^/    /'
