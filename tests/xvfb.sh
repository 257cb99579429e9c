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
