#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A static Qt for 64-bit Windows, built once from Debian's own qt6-base source of exactly the
# host Qt's version (the host's moc, rcc and uic generate the code it compiles), with Debian's
# MinGW-w64. Only what Quennel and its tests use is built. The installed Qt is kept outside the
# source tree, under a key made of the Qt version, the configure options and the compiler
# version, and reused while the key holds.
#
#   packaging/windows/static-qt.sh     prints the installed Qt's folder on stdout
#
# Progress and step times go to stderr. QUENNEL_CACHE overrides the cache folder.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cache=${QUENNEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quennel}/windows-qt
toolchain=$here/mingw-w64.cmake
jobs=$(nproc 2>/dev/null || echo 2)

say() { printf '== %s\n' "$*" >&2; }
# step NAME COMMAND...: runs the command and reports how long it took.
step() {
    local name=$1 start=$SECONDS
    shift
    say "$name"
    "$@"
    say "$name: $((SECONDS - start)) s"
}

source_package=$(dpkg-query -W -f='${source:Package}' qt6-base-dev)
qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)

# Bundled third-party code throughout: a static program carries it in, and no library of the
# MinGW sysroot or of the build machine may stand in for it.
configure_options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DFEATURE_pkg_config=OFF
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_network=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_jpeg=OFF
    -DFEATURE_gif=OFF
    # FEATURE_opengl=OFF alone still builds dynamic OpenGL into the windows platform plugin.
    -DINPUT_opengl=no
    # The windows platform plugin needs the Wintab headers for tablet events; the +dfsg source
    # leaves them out.
    -DFEATURE_tabletevent=OFF
)

compiler_version() {
    dpkg-query -W -f='${Package} ${Version}\n' g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    x86_64-w64-mingw32-g++-posix -v 2>&1 | tail -n 1
}

key=$({
    echo "$source_package $qt_version"
    printf '%s\n' "${configure_options[@]}"
    cat "$toolchain"
    compiler_version
} | sha256sum | cut -c1-16)
prefix=$cache/qt-$qt_version-$key

# apt_private ARGS...: apt-get with sources of its own, derived from the machine's: every archive
# that serves the host's qt6-base-dev, as a source archive. The system's apt set-up is only read.
apt_private() {
    local apt=$cache/apt
    apt-get -q -o Dir::Etc::sourcelist="$apt/sources.list" \
        -o Dir::Etc::sourceparts="$apt/sources.list.d" -o Dir::State::Lists="$apt/lists" \
        -o Dir::Cache="$apt/cache" -o APT::Sandbox::User="$(id -un)" "$@"
}

derive_source_entries() {
    local apt=$cache/apt uris
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
    uris=$(apt-cache madison qt6-base-dev | awk -F' [|] ' -v v="$qt_version" \
        '$2 == v { split($3, w, " "); print w[1] }' | sort -u)
    [ -n "$uris" ] || {
        say "no archive of this machine serves qt6-base-dev $qt_version"
        return 1
    }
    local lists=() stanzas=() f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] && lists+=("$f")
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && stanzas+=("$f")
    done
    # One-line entries: "deb [options] URI suite components".
    cat /dev/null "${lists[@]}" |
        awk -v uris="$uris" '
            BEGIN { n = split(uris, u, "\n"); for (i = 1; i <= n; i++) want[u[i]] = 1 }
            $1 == "deb" {
                f = 2
                if ($2 ~ /^\[/) { while ($f !~ /\]$/) f++; f++ }
                if ($f in want) { sub(/^deb/, "deb-src"); print }
            }' >"$apt/sources.list"
    # deb822 stanzas: a stanza that names one of the URIs becomes a source stanza.
    cat /dev/null "${stanzas[@]}" |
        awk -v uris="$uris" '
            BEGIN { n = split(uris, u, "\n"); for (i = 1; i <= n; i++) want[u[i]] = 1; RS = "" }
            {
                keep = 0; out = ""; deb = 0
                m = split($0, line, "\n")
                for (i = 1; i <= m; i++) {
                    if (line[i] ~ /^#/) continue
                    if (line[i] ~ /^Types:/) { deb = line[i] ~ /[ \t]deb([ \t]|$)/; line[i] = "Types: deb-src" }
                    if (line[i] ~ /^URIs:/) {
                        k = split(line[i], w, /[ \t]+/)
                        for (j = 2; j <= k; j++) if (w[j] in want) keep = 1
                    }
                    out = out line[i] "\n"
                }
                if (keep && deb) print out
            }' >"$apt/sources.list.d/derived.sources"
}

# A run that was cut off resumes: the unpacked source and the build tree stay until Qt is installed.
fetch_source() {
    local dir=$cache/source
    [ -d "$work/src" ] && return
    mkdir -p "$dir" "$work"
    if [ ! -f "$dir/${source_package}_${qt_version#*:}.dsc" ]; then
        derive_source_entries
        apt_private update >&2
        (cd "$dir" && apt_private source --download-only "$source_package=$qt_version" >&2)
    fi
    rm -rf "$work/src.partial"
    # dpkg-source applies Debian's patches, security fixes among them. apt has checked the files
    # against the archive's signed index; the maintainer's signature on the .dsc would need
    # Debian's developer keyring, which a build machine seldom has.
    dpkg-source --no-copy -x "$dir/${source_package}_${qt_version#*:}.dsc" "$work/src.partial" \
        >"$work/extract.log" 2>&1 || { cat "$work/extract.log" >&2; return 1; }
    mv "$work/src.partial" "$work/src"
}

configure_qt() {
    cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_INSTALL_PREFIX="$prefix" "${configure_options[@]}" >"$work/configure.log" 2>&1 \
        || { tail -n 40 "$work/configure.log" >&2; return 1; }
}

build_qt() {
    nice -n 10 cmake --build "$work/build" --parallel "$jobs" >"$work/build.log" 2>&1 \
        || { grep -B2 -A20 -m3 'FAILED:' "$work/build.log" >&2; return 1; }
}

# Installs into a folder of its own, then moves it to its keyed name: a cut-off run leaves no
# half-installed Qt behind that a later run would take for whole.
install_qt() {
    rm -rf "$prefix.partial"
    DESTDIR= cmake --install "$work/build" --prefix "$prefix.partial" >/dev/null
    # What a program that links this Qt statically must pass on: Qt's licences, Debian's account
    # of Qt's and its bundled libraries' copyrights, and which source it was built from.
    local notes=$prefix.partial/share/quennel
    mkdir -p "$notes"
    cp -r "$work/src/LICENSES" "$notes/"
    cp "$work/src/debian/copyright" "$notes/debian-copyright"
    echo "$source_package $qt_version" >"$notes/source"
    mv "$prefix.partial" "$prefix"
}

main() {
    mkdir -p "$cache"
    exec 9>"$cache/lock"
    # Two builds at once would share the source folder: the second waits for the first.
    flock 9
    if [ -d "$prefix" ]; then
        say "Qt $qt_version for Windows: cached in $prefix"
    else
        work=$cache/work-$key
        step "Qt source: $source_package $qt_version" fetch_source
        step "Qt configure" configure_qt
        step "Qt build (long: about 15 min on 2 cores)" build_qt
        step "Qt install" install_qt
        rm -rf "$work"
    fi
    echo "$prefix"
}

# The whole script is read before anything runs: it may change while a long build runs.
main "$@"
