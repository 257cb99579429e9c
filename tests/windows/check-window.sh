#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows zip, unpacked into a folder whose name is not ASCII, its program started under Wine
# on a private Xvfb display with a catalogue of its own beside it, and driven the way a person
# would:
#
#   check-window.sh ZIP      under Wine in the prefix WINEPREFIX (made when missing)
#
# - the window's client area is 815 x 703;
# - the catalogue beside the program is read: its one item's id reaches the trade code;
# - a selling price of 250, "Generate" and "Copy to Clipboard" put the exact trade code on the
#   clipboard, which Wine shares with X11's;
# - in a German locale, "12,5" and "13,5" are twelve and a half and thirteen and a half: the trade
#   code holds them rounded half to even, 12 and 14.
# Every wait is bounded; the programs, Wine and Xvfb are stopped whatever happens.
set -euo pipefail

zip=$(realpath "${1:?usage: check-window.sh ZIP}")
: "${WINEPREFIX:?check-window.sh runs under Wine in WINEPREFIX}"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_run=$here/../../packaging/windows/wine.sh
timeout_s=${QUENNEL_DISPLAY_TIMEOUT:-60}

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "check-window: FAIL: $*" >&2
    if [ -s "$work/app.log" ]; then
        echo "check-window: program output:" >&2
        sed 's/^/    /' "$work/app.log" >&2
    fi
    exit 1
}

# Wine opens paths that are not ASCII only in a UTF-8 locale.
folder="$work/Prüfung Ω 日本"
mkdir "$folder"
(cd "$folder" && cmake -E tar xf "$zip")
program=$(echo "$folder"/quennel-*/quennel.exe)
[ -f "$program" ] || fail "no quennel.exe in $zip"
printf '[ID]\r\n\xd0\xa9\xd0\xb8\xd1\x82=345\r\n' >"$(dirname "$program")/id.txt" # Щит, UTF-8

# shellcheck source=../xvfb.sh
. "$here/../xvfb.sh"
deadline=$((SECONDS + timeout_s))
start_xvfb 1280x1024x24

click() {
    timeout 5 xdotool mousemove --window "$window" "$1" "$2" click 1 || fail "click at $1,$2 failed"
    sleep 0.5 # two clicks close together would count as a double click
}
type_text() {
    timeout 10 xdotool type --delay 80 "$1" || fail "typing $1 failed"
}

# check_run LOCALE EXPECTED ACTIONS...: starts the program in the locale, runs the actions (a
# function each), then "Generate" and "Copy to Clipboard", and waits for exactly EXPECTED on the
# clipboard.
check_run() {
    local locale=$1 expected=$2 action
    shift 2
    deadline=$((SECONDS + timeout_s))
    # The program must use the X server, not a headless platform set in the caller's environment.
    env -u QT_QPA_PLATFORM LANG="$locale" LC_ALL="$locale" "$wine_run" "$WINEPREFIX" "$program" \
        >"$work/app.log" 2>&1 &
    app_pid=$!
    wait_for_window
    local geometry
    geometry=$(timeout 5 xdotool getwindowgeometry "$window" | sed -n 's/^ *Geometry: //p')
    [ "$geometry" = 815x703 ] || fail "the window is $geometry, not 815x703"
    timeout 5 xdotool windowfocus "$window" || fail "cannot focus the window"
    sleep 1 # Wine activates the window a moment after it maps
    for action in "$@"; do
        "$action"
    done
    click 596 636 # "Generate"
    if timeout 2 xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1; then
        fail '"Generate" showed the Error box instead of a trade code'
    fi
    click 664 680 # "Copy to Clipboard"
    printf '%s' "$expected" >"$work/expected"
    until timeout 5 xclip -o -selection clipboard -t UTF8_STRING >"$work/clipboard" 2>/dev/null \
        && cmp -s "$work/clipboard" "$work/expected"; do
        kill -0 "$app_pid" 2>/dev/null || fail "the program exited before the clipboard was read"
        ((SECONDS < deadline)) || fail "($locale) clipboard holds '$(cat "$work/clipboard")', expected '$expected'"
        sleep 0.2
    done
    echo "check-window: ($locale) window 815x703, clipboard holds exactly $expected"
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

selling_250() {
    click 428 73 # row 0's selling price box: focusing it clears the hint text
    type_text 250
}
# The buying price typed, not generated, so that both prices are read as typed.
typed_prices() {
    click 745 636 # "Options"
    click 400 264 # "Use generated buying price", ticked at start
    timeout 5 xdotool key Escape || fail "Escape failed"
    sleep 0.5
    click 676 73 # row 0's buying price box
    type_text 13,5
    click 428 73
    type_text 12,5
}

check_run C.UTF-8 '345/1/0/,250.0,true,;345/1/0/,250.0,false,' selling_250
check_run de_DE.UTF-8 '345/1/0/,14.0,true,;345/1/0/,12.0,false,' typed_prices
