# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the real-display checks, sourced once the caller has set work (its temporary
# folder), deadline (in SECONDS) and fail().

# Waits, at most until the deadline, until the command succeeds.
wait_for() {
    local what=$1
    shift
    until "$@"; do
        ((SECONDS < deadline)) || fail "timed out waiting for $what"
        sleep 0.2
    done
}

# start_xvfb WxHxD: a private X server, its PID in xvfb_pid, and a private runtime folder (Qt
# wants one and the caller may have none).
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_for "Xvfb to start" test -s "$work/display"
    export DISPLAY=":$(head -n1 "$work/display")"
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
}

# Waits until the program started as app_pid maps its window "Quennel"; its X id in window.
# Qt's extra unmapped windows are left out by asking for visible ones with that exact title.
wait_for_window() {
    window=
    wait_for 'the window "Quennel"' find_window
}
find_window() {
    kill -0 "$app_pid" 2>/dev/null || fail "the program exited before its window mapped"
    window=$(timeout 5 xdotool search --onlyvisible --name '^Quennel$' 2>/dev/null | head -n1) || true
    [ -n "$window" ]
}
