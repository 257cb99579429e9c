#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quennel.exe for 64-bit Windows, built here with Debian's MinGW-w64 against a static Qt, tested
# under Wine and packed as a portable zip. ./build.sh windows installs the packages, then runs this.
#
#   packaging/windows/build-windows.sh [DIR]    builds in DIR (default build-windows)
#
# The steps, each timed: the static Qt (built once, then taken from the cache: static-qt.sh); the
# locales that the checks under Wine take; the cross build of the program and every test; the Qt
# Test suite under Wine; the zip and what its program links; the real window, started from the
# unpacked zip under Wine and Xvfb. Every program under Wine runs in DIR's own Wine prefix, with
# a time limit.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
here=$root/packaging/windows
dir=$root/${1:-build-windows}
cache=${QUENNEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quennel}
jobs=$(nproc 2>/dev/null || echo 2)
export WINEPREFIX=$dir/wine

say() { printf '== %s\n' "$*" >&2; }
times=()
# step NAME COMMAND...: runs the command and reports how long it took.
step() {
    local name=$1 start=$SECONDS
    shift
    say "$name"
    "$@"
    times+=("$(printf '%5d s  %s' $((SECONDS - start)) "$name")")
    say "$name: $((SECONDS - start)) s"
}

# Wine's server outlives the programs by a minute; nothing of a run is left behind once it ends.
stop_wine() {
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
}
trap stop_wine EXIT

static_qt() {
    qt=$("$here/static-qt.sh")
}

# Wine takes the Windows locale and code page from the locale. The checks ask for Russian and
# German ones, made into the cache rather than into the system; everything else runs in C.UTF-8,
# whatever the caller's locale (glibc finds it whatever LOCPATH says). A UTF-8 locale it must be:
# in any other, Wine opens no path that is not ASCII.
make_locales() {
    local locales=$cache/locales-$(dpkg-query -W -f='${Version}' libc-bin) name
    for name in ru_RU de_DE; do
        if [ ! -d "$locales/$name.UTF-8" ]; then
            mkdir -p "$locales"
            localedef -i "$name" -f UTF-8 "$locales/$name.UTF-8.partial"
            mv "$locales/$name.UTF-8.partial" "$locales/$name.UTF-8"
        fi
    done
    export LOCPATH=$locales LC_ALL=C.UTF-8
}

cross_build() {
    # Configured on every run: cheap, and the Qt it builds against may have a new key.
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
        -DCMAKE_FIND_ROOT_PATH="$qt" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$here/wine.sh;$WINEPREFIX" >/dev/null
    cmake --build "$dir" --parallel "$jobs"
}

test_under_wine() {
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300
    # The real window wants a session of its own, with the X display that the tests had not.
    stop_wine
}

pack() {
    rm -f "$dir"/quennel-*-windows-x86_64.zip
    (cd "$dir" && cpack >/dev/null)
    zip=$(echo "$dir"/quennel-*-windows-x86_64.zip)
    "$here/check-zip.sh" "$zip"
}

step "Qt for Windows" static_qt
step "locales for Wine" make_locales
step "cross build" cross_build
step "Qt Test suite under Wine" test_under_wine
step "zip" pack
step "the window under Wine and Xvfb" "$root/tests/windows/check-window.sh" "$zip"
say "step times:"
printf '%s\n' "${times[@]}" >&2
