#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a program of the Windows build under Wine: the build's emulator, through which the build
# runs makeicon and ctest runs the tests.
#
#   wine.sh PREFIX PROGRAM [ARGUMENTS...]
#
# PREFIX is a Wine prefix of the build's own, made on first use. Wine hides the QT_* variables
# from Windows programs; each reaches the program as WINEQT_* does. The tests run offscreen, whose
# Windows build finds no fonts of its own, and their output goes to stderr. Nothing runs for
# longer than QUENNEL_WINE_TIMEOUT seconds (default 600), so that a build step cannot hang.
set -euo pipefail

export WINEPREFIX=${1:?usage: wine.sh PREFIX PROGRAM [ARGUMENTS...]}
shift
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko to install, and no menu entries or file types in the user's desktop.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=d}

while IFS= read -r name; do
    export "WINE$name=${!name}"
done < <(compgen -e | grep '^QT_' || true)
export WINEQT_QPA_FONTDIR=${WINEQT_QPA_FONTDIR:-'Z:\usr\share\fonts\truetype\dejavu'}
export WINEQT_FORCE_STDERR_LOGGING=${WINEQT_FORCE_STDERR_LOGGING:-1}

# The wineserver and the session's services keep the files they were started with open for their
# whole life: started from within ninja or ctest, they would hold its pipes, and it would wait for
# them for ever; given the lock below, they would hold it too. Started here, they get neither.
# "wineserver -p60" starts one that lasts a minute past its last program, or fails at once when
# one runs already.
boot() {
    timeout 300 wine wineboot "$@" </dev/null >/dev/null 2>&1 9>&-
}
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineserver -p60 </dev/null >/dev/null 2>&1 9>&- || true
        boot --init
    elif wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
        boot
    fi
) 9>"$WINEPREFIX.lock"

exec timeout --kill-after=10 "${QUENNEL_WINE_TIMEOUT:-600}" wine "$@"
