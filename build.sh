#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Quennel's one entry point: installs the Debian packages a step needs, builds, then runs it.
#
#   ./build.sh run          build and open the window on the bundled sample catalogue
#   ./build.sh test         build and run the whole test suite headless
#   ./build.sh asan         the whole test suite built with AddressSanitizer and UBSan
#   ./build.sh display      check the real program under Xvfb (window, X11 clipboard)
#   ./build.sh fuzz [s]     run each fuzz target for s seconds (default 60)
#   ./build.sh bench        optimised build, then print every benchmark figure and ratio
#   ./build.sh lint         clang-format in check mode, then clang-tidy
#   ./build.sh a11y         check the real program through the accessibility stack under Xvfb
#   ./build.sh package      the Debian package and the relocatable tarball, checked with lintian
#   ./build.sh windows      quennel.exe cross-built with a static Qt, tested under Wine, zipped
#   ./build.sh help         this help (also -h, --help, or no command)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)

say() { printf '== %s\n' "$*" >&2; }
# The comment block under the licence line at the top of this file.
usage() { awk 'NR > 2 && !/^#/ { exit } NR > 2 { sub(/^# ?/, ""); print }' "$0"; }

# Installs whichever of the named Debian packages are missing; silent when all are present.
need() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { say "need root or sudo to install: ${missing[*]}"; exit 1; }
        sudo=(sudo)
    fi
    say "installing ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

base_packages=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-dejavu-core)
display_packages=(xvfb xauth xclip xdotool x11-utils)
a11y_packages=(xvfb xauth xdotool dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0)
package_packages=(dpkg-dev file desktop-file-utils appstream lintian man-db python3-gi)
# MinGW-w64 with POSIX threads; Qt's source is unpacked by dpkg-dev; Wine runs the tests (64-bit
# programs need no wine32); locales holds the definitions of the locales the Wine checks take.
windows_packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 dpkg-dev
    wine wine64 locales xvfb xauth xdotool xclip x11-utils)

# configure DIR [cmake options...]: configures once, then only builds incrementally.
build() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    fi
    cmake --build "$dir" --parallel "$jobs"
}

# Builds the test step's tree and names its program; the build's own output goes to stderr.
test_step_program() {
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
    echo build/bin/quennel
}

ctest_in() {
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j "$jobs"
}

cmd=${1:-}
shift || true
case "$cmd" in
run)
    need "${base_packages[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    exec build/bin/quennel
    ;;
test)
    need "${base_packages[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    ctest_in build
    ;;
asan)
    need "${base_packages[@]}"
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DQUENNEL_SANITIZE=ON
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest_in build-asan
    ;;
bench)
    need "${base_packages[@]}" "${display_packages[@]}" libbenchmark-dev valgrind libx11-dev \
        libxdamage-dev
    build build-bench -DCMAKE_BUILD_TYPE=Release -DQUENNEL_BUILD_BENCH=ON -DQUENNEL_BUILD_TESTS=OFF
    bench/startup.sh build-bench
    QT_QPA_PLATFORM=offscreen build-bench/bench/bench_catalogue
    QT_QPA_PLATFORM=offscreen build-bench/bench/bench_window
    QT_QPA_PLATFORM=offscreen build-bench/bench/bench_code
    QT_QPA_PLATFORM=offscreen build-bench/bench/bench_rows
    say "load: $(uptime)"
    ;;
fuzz)
    # llvm brings llvm-symbolizer: without it a crash's stack trace has no function names or lines.
    need "${base_packages[@]}" clang libclang-rt-14-dev llvm
    seconds=${1:-60}
    fuzzers=(fuzz_inireader fuzz_numbers fuzz_codereader)
    if [ ! -f build-fuzz/build.ninja ]; then
        cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_COMPILER=clang++ -DQUENNEL_SANITIZE=ON \
            -DQUENNEL_BUILD_FUZZ=ON -DQUENNEL_BUILD_TESTS=OFF >/dev/null
    fi
    cmake --build build-fuzz --parallel "$jobs" --target "${fuzzers[@]}"
    for f in "${fuzzers[@]}"; do
        # New inputs go to the build tree; the committed seeds are only read.
        mkdir -p "build-fuzz/corpus/$f" build-fuzz/artifacts
        say "$f for ${seconds}s"
        ASAN_OPTIONS=halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
            "build-fuzz/fuzz/$f" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
            -artifact_prefix="build-fuzz/artifacts/$f-" \
            "build-fuzz/corpus/$f" "fuzz/corpus/${f#fuzz_}"
    done
    ;;
lint)
    need "${base_packages[@]}" git clang clang-format clang-tidy libbenchmark-dev libx11-dev \
        libxdamage-dev
    mapfile -t sources < <(git ls-files -co --exclude-standard -- \
        core catalogue ui resources tests bench fuzz | grep -E '\.(cpp|h)$')
    # An empty list would make clang-format pass vacuously and clang-tidy check generated files.
    ((${#sources[@]})) || { say "no sources found: lint needs a git checkout"; exit 1; }
    say "clang-format on ${#sources[@]} files"
    clang-format --dry-run -Werror "${sources[@]}"
    if [ ! -f build-lint/build.ninja ]; then
        cmake -S . -B build-lint -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_GLOBAL_AUTOGEN_TARGET=ON \
            -DQUENNEL_BUILD_BENCH=ON -DQUENNEL_BUILD_FUZZ=ON >/dev/null
    fi
    # clang-tidy parses the sources as compiled: moc output and generated headers must exist.
    cmake --build build-lint --parallel "$jobs" --target autogen
    mapfile -t units < <(printf '%s\n' "${sources[@]}" | grep -E '\.cpp$')
    say "clang-tidy on ${#units[@]} files"
    run-clang-tidy -quiet -p build-lint -j "$jobs" "${units[@]/#/$root/}" >build-lint/tidy.log 2>&1 \
        || { grep -E 'warning:|error:' -A3 build-lint/tidy.log | head -200; exit 1; }
    say "lint clean"
    ;;
display)
    # ./build.sh display [PROGRAM]: without a program, the one the test step builds.
    need "${base_packages[@]}" "${display_packages[@]}"
    tests/display/check-window.sh "${1:-$(test_step_program)}"
    ;;
a11y)
    # ./build.sh a11y [PROGRAM]: what a screen reader finds and hears, keyboard alone; without a
    # program, the one the test step builds.
    need "${base_packages[@]}" "${a11y_packages[@]}"
    tests/a11y/check-a11y.sh "${1:-$(test_step_program)}"
    ;;
package)
    # ./build.sh package [DIR]: builds in DIR (default build-package), packs, checks both packages.
    need "${base_packages[@]}" "${display_packages[@]}" "${package_packages[@]}"
    dir=${1:-build-package}
    # Debian's hardening flags: fortified functions, stack protector, relocations read-only and
    # bound at start. CMake reads no CPPFLAGS, so _FORTIFY_SOURCE travels with the compiler flags;
    # the Release flags that follow keep -O3. Configured on every run, so that a folder made
    # before gets them too.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENNEL_BUILD_TESTS=OFF \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
    build "$dir"
    rm -f "$dir"/quennel_*.deb "$dir"/quennel-*.tar.gz
    (cd "$dir" && cpack)
    packaging/check-packages.sh "$dir"
    ;;
windows)
    # ./build.sh windows [DIR]: builds in DIR (default build-windows); the static Qt is built once
    # into the cache (~/.cache/quennel), then reused.
    need "${base_packages[@]}" "${windows_packages[@]}"
    packaging/windows/build-windows.sh "$@"
    ;;
help | -h | --help | "")
    usage
    ;;
*)
    usage >&2
    say "unknown command: $cmd"
    exit 2
    ;;
esac
