#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real program on a private Xvfb display, the way a person would.
#
#   check-window.sh PROGRAM              the window "Quennel" maps; a selling price of 250 in row 0,
#                                        "Generate" and "Copy to Clipboard" put the trade code on the
#                                        X11 clipboard; then "+", a click into the new row's copied
#                                        price and 40 typed give 40 in the trade code
#   check-window.sh --map-only PROGRAM   only that the window "Quennel" maps
#   check-window.sh --shot FILE PROGRAM  the window maps; then a screenshot of the screen into FILE
#
# The program runs as a copy in a temporary folder, beside a copy of the sample catalogue: whatever
# id.txt lies beside PROGRAM (a user's own in the build tree) neither changes what is checked nor
# is touched. With --in-place (before the mode) it runs where it lies, on the id.txt beside it:
# how an unpacked package is checked.
#
# The environment passes through to the program (e.g. QT_SCALE_FACTOR=2 for a HiDPI screenshot).
# Every wait is bounded; the program and Xvfb are stopped by their PIDs whatever happens.
set -euo pipefail

in_place=
mode=full
shot=
if [ "${1:-}" = --in-place ]; then
    in_place=1
    shift
fi
case "${1:-}" in
--map-only) mode=map; shift ;;
--shot) mode=shot; shot=${2:?--shot needs a file}; shift 2 ;;
esac
program=${1:?usage: check-window.sh [--in-place] [--map-only | --shot FILE] PROGRAM}
[ -x "$program" ] || { echo "check-window: no program at $program" >&2; exit 1; }
sample=$(dirname "${BASH_SOURCE[0]}")/../../resources/id.txt

expected='12/1/0/,250.0,true,;12/1/0/,250.0,false,'
timeout_s=${QUENNEL_DISPLAY_TIMEOUT:-30}
deadline=$((SECONDS + timeout_s))

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    [ -z "$app_pid" ] || wait "$app_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "check-window: FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        echo "check-window: visible windows:" >&2
        timeout 5 xdotool search --onlyvisible --name '.' getwindowname %@ 2>/dev/null \
            | sed 's/^/    /' >&2 || true
    fi
    if [ -s "$work/app.log" ]; then
        echo "check-window: program output:" >&2
        sed 's/^/    /' "$work/app.log" >&2
    fi
    exit 1
}

# shellcheck source=../xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"
# Large enough for the 815 x 703 window at twice the pixel density.
start_xvfb 2048x1536x24

if [ -z "$in_place" ]; then
    mkdir "$work/program"
    cp "$program" "$work/program/quennel"
    cp "$sample" "$work/program/id.txt"
    program=$work/program/quennel
fi

# The program must use the X server, not a headless platform set in the caller's environment.
env -u QT_QPA_PLATFORM "$program" >"$work/app.log" 2>&1 &
app_pid=$!

wait_for_window
echo "check-window: window \"Quennel\" mapped (X id $window) on $DISPLAY"

if [ "$mode" = map ]; then
    exit 0
fi
if [ "$mode" = shot ]; then
    sleep 1 # let the first paint finish
    timeout 20 import -window root "$shot" || fail "screenshot into $shot failed"
    echo "check-window: screenshot in $shot"
    exit 0
fi

# Without a window manager the window's origin is its client area's origin, so the positions
# below are client pixels. Pointer moves and clicks go in one xdotool call: a separate
# "mousemove --sync" onto the spot where the pointer already is never returns.
click() {
    timeout 5 xdotool mousemove --window "$window" "$1" "$2" click 1 || fail "click at $1,$2 failed"
    sleep 0.5 # two clicks close together would count as a double click
}
timeout 5 xdotool windowfocus "$window" || fail "cannot focus the window"

# "Generate" must give a trade code, not the Error box; "Copy to Clipboard" puts it there.
generate_and_copy() {
    click 596 636 # "Generate"
    if timeout 2 xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1; then
        fail '"Generate" showed the Error box instead of a trade code'
    fi
    click 664 680 # "Copy to Clipboard", inside the bottom panel
}

# The clipboard belongs to the running program; it is read while the program runs.
clip=
read_clipboard() {
    kill -0 "$app_pid" 2>/dev/null || fail "the program exited before the clipboard was read"
    clip=$(timeout 5 xclip -o -selection clipboard 2>/dev/null) || true
}
expect_clipboard() {
    until read_clipboard && [ "$clip" = "$1" ]; do
        ((SECONDS < deadline)) || fail "clipboard holds '$clip', expected '$1'"
        sleep 0.2
    done
    echo "check-window: clipboard holds the trade code $clip"
}

click 428 73 # row 0's selling price box: focusing it clears the hint text
timeout 10 xdotool type --delay 60 250 || fail "typing the selling price failed"
generate_and_copy
expect_clipboard "$expected"

# A new row's selling price box shows row 0's "250"; a click into its middle and typing 40 must
# give 40, not 2540 or 540.
click 52 108 # "+"
click 428 108 # row 1's selling price box, in the middle of its text
timeout 10 xdotool type --delay 60 40 || fail "typing the new row's selling price failed"
generate_and_copy
expect_clipboard "$expected;12/1/0/,40.0,true,;12/1/0/,40.0,false,"
