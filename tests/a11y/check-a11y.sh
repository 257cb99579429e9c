#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check-a11y.sh PROGRAM
#
# Runs the real program the way a screen reader meets it: a private Xvfb display, a private
# D-Bus session and accessibility (AT-SPI) bus, and the program beside a small catalogue of its
# own. check_a11y.py then walks its accessibility tree and drives it with the keyboard alone,
# prints "N passed, N failed" and fails on any failure. Every wait is bounded; every process
# started here is stopped by its PID whatever happens.
set -euo pipefail

program=$(realpath "${1:?usage: check-a11y.sh PROGRAM}")
[ -x "$program" ] || { echo "check-a11y: no program at $program" >&2; exit 1; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
deadline=$((SECONDS + ${QUENNEL_A11Y_TIMEOUT:-30}))

work=$(mktemp -d)
xvfb_pid=
bus_pid=
atspi_pid=
app_pid=
cleanup() {
    local pid
    for pid in "$app_pid" "$atspi_pid" "$bus_pid" "$xvfb_pid"; do
        [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    done
    for pid in "$app_pid" "$atspi_pid" "$xvfb_pid"; do
        [ -z "$pid" ] || wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "check-a11y: FAIL: $*" >&2
    [ ! -s "$work/app.log" ] || sed 's/^/    program: /' "$work/app.log" >&2
    exit 1
}

# shellcheck source=../xvfb.sh
. "$here/../xvfb.sh"
start_xvfb 1280x1024x24

# A session bus of its own, so that nothing reaches the caller's desktop or another run.
eval "$(dbus-launch --sh-syntax)"
bus_pid=$DBUS_SESSION_BUS_PID
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
atspi_pid=$!
sleep 1

# The program reads id.txt from its own folder.
cp "$program" "$work/quennel"
printf '[ID]\r\nApple=12\r\nBread=7\r\nCheese=21\r\n' >"$work/id.txt"
env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$work/quennel" >"$work/app.log" 2>&1 &
app_pid=$!

wait_for_window
timeout 5 xdotool windowfocus "$window" || fail "cannot focus the window"

timeout 300 /usr/bin/python3 "$here/check_a11y.py"
