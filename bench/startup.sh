#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# startup.sh BUILD_DIR [RUNS]
#
# The start-up pair: the toolkit's floor (startup_baseline) against the real program with a
# 200-item catalogue beside it, both from exec to their first frame on a private Xvfb display.
# Wall time and peak resident memory are the medians of RUNS interleaved runs (default 15);
# the instruction count comes from one run of each under callgrind, which is repeatable.
#
# Then the program on large catalogues, each beside a copy of its own, in fewer runs: 100 MB of
# empty lines before the 200 items against 100 MB of 1,000,000 items, 50,000 names (about 1 MB)
# against the 200 items, and 1,000,000 names (about 25 MB); the last two also as instructions to
# the first frame, counted by callgrind.
set -euo pipefail

build=$(cd "${1:?usage: startup.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-15}
firstframe=$build/bench/firstframe
baseline=$build/bench/startup_baseline

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The program looks for id.txt in its own folder, so it runs from a copy beside a catalogue
# of the measured size.
cp "$build/bin/quennel" "$work/quennel"
two_hundred_items() {
    printf '[ID]\r\n'
    for i in $(seq 1 200); do printf 'Trade item %03d=%d\r\n' "$i" "$i"; done
}
two_hundred_items >"$work/id.txt"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "startup.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR

measure() { "$firstframe" "$@"; }

# One unmeasured run each fills the font and file caches.
measure "$baseline" >/dev/null
measure "$work/quennel" >/dev/null
: >"$work/baseline.runs"
: >"$work/quennel.runs"
for _ in $(seq "$runs"); do
    measure "$baseline" >>"$work/baseline.runs"
    measure "$work/quennel" >>"$work/quennel.runs"
done

# median FILE FIELD: the median of key=value field FIELD over all lines of FILE.
median() {
    sed -n "s/.*$2=\([0-9.]*\).*/\1/p" "$1" | sort -g \
        | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Qt forks once at start (to look for a session bus); the fork inherits the count so far and
# writes a profile of its own, so the program's count is the largest of them.
instructions() {
    local out=$work/callgrind.$1
    shift
    measure valgrind --tool=callgrind --callgrind-out-file="$out.%p" "$@" >/dev/null 2>&1
    sed -n 's/^\(summary\|totals\): *\([0-9]*\).*/\2/p' "$out".* | sort -n | tail -n1
}
base_ir=$(instructions baseline "$baseline")
real_ir=$(instructions quennel "$work/quennel")

# Both programs must have drawn their whole window first, or the figures compare different things.
if grep -qv 'frame=815x703' "$work/baseline.runs" "$work/quennel.runs"; then
    echo "startup.sh: a first frame was not the whole 815x703 window:" >&2
    grep -v 'frame=815x703' "$work/baseline.runs" "$work/quennel.runs" >&2
fi

base_wall=$(median "$work/baseline.runs" wall_ms)
real_wall=$(median "$work/quennel.runs" wall_ms)
base_rss=$(median "$work/baseline.runs" maxrss_kb)
real_rss=$(median "$work/quennel.runs" maxrss_kb)

awk -v runs="$runs" -v bw="$base_wall" -v rw="$real_wall" -v bi="$base_ir" -v ri="$real_ir" \
    -v bm="$base_rss" -v rm="$real_rss" 'function line(what, b, r, unit, goal, fmt) {
        printf "%-26s baseline " fmt " %s   quennel " fmt " %s   ratio %5.3fx  (goal <= %.2fx: %s)\n",
            what, b, unit, r, unit, r / b, goal, (r / b <= goal) ? "met" : "MISSED"
    }
    BEGIN {
        printf "start-up to first frame, 200-item catalogue (median of %d interleaved runs)\n", runs
        line("wall time", bw, rw, "ms", 1.10, "%8.1f")
        line("instructions (callgrind)", bi, ri, "", 1.05, "%12d")
        line("peak resident memory", bm, rm, "KiB", 1.05, "%8d")
    }'

# items COUNT FORMAT: section ID with COUNT items, FORMAT taking the item's number twice.
items() {
    awk -v n="$1" -v format="$2" 'BEGIN {
        printf "[ID]\r\n"
        for (i = 1; i <= n; i++) printf format, i, i
    }'
}
# beside NAME: a folder of its own holding a copy of the program; the catalogue comes on stdin.
beside() {
    mkdir "$work/$1"
    cp "$build/bin/quennel" "$work/$1/quennel"
    cat >"$work/$1/id.txt"
}

large_runs=5
needed_kb=$((300 * 1024))
free_kb=$(df --output=avail -k "$work" | tail -n1)
if [ "$free_kb" -lt "$needed_kb" ]; then
    echo "start-up on large catalogues: skipped, $((free_kb / 1024)) MiB free where 300 are needed"
    exit 0
fi
{ head -c 100000000 /dev/zero | tr '\0' '\n'; two_hundred_items; } | beside flood
items 1000000 'Trade item %07d of the catalogue, named as fully as the longest names of real ones get=%d\r\n' \
    | beside items
items 50000 'Trade item %05d=%d\r\n' | beside names50k
items 1000000 'Trade item %07d=%d\r\n' | beside names1m
two_hundred_items | beside small
large=(flood items names50k names1m small)
for name in "${large[@]}"; do
    measure "$work/$name/quennel" >/dev/null # the file cache, as above
    : >"$work/$name.runs"
done
for _ in $(seq "$large_runs"); do
    for name in "${large[@]}"; do
        measure "$work/$name/quennel" >>"$work/$name.runs"
    done
done
large_runs_files=()
for name in "${large[@]}"; do large_runs_files+=("$work/$name.runs"); done
if grep -qv 'frame=815x703' "${large_runs_files[@]}"; then
    echo "startup.sh: a first frame was not the whole 815x703 window:" >&2
    grep -v 'frame=815x703' "${large_runs_files[@]}" >&2
fi

figures() {
    printf '%-40s %9.1f ms  %8d KiB  (%s bytes)\n' "$1" "$(median "$work/$2.runs" wall_ms)" \
        "$(median "$work/$2.runs" maxrss_kb)" "$(stat -c %s "$work/$2/id.txt")"
}
ratio() {
    awk -v a="$(median "$work/$2.runs" wall_ms)" -v b="$(median "$work/$3.runs" wall_ms)" \
        -v what="$1" -v goal="${4:-}" 'BEGIN {
            printf "ratio %-34s %5.3fx", what, a / b
            if (goal != "") printf "  (goal <= %.2fx: %s)", goal, (a / b <= goal) ? "met" : "MISSED"
            printf "\n"
        }'
}
printf '\nstart-up to first frame on large catalogues (median of %d interleaved runs)\n' "$large_runs"
figures "100 MB of empty lines, then 200 items" flood
figures "100 MB of 1,000,000 items" items
ratio "empty lines / 1,000,000 items" flood items 1.50
figures "50,000 names" names50k
figures "200 items" small
ratio "50,000 names / 200 items" names50k small
figures "1,000,000 names" names1m

# What a large catalogue costs is what reading it costs: counted, unlike the wall time above, so
# that the figures hold on a busy machine.
small_ir=$(instructions small "$work/small/quennel")
names50k_ir=$(instructions names50k "$work/names50k/quennel")
names1m_ir=$(instructions names1m "$work/names1m/quennel")
awk -v s="$small_ir" -v k="$names50k_ir" -v m="$names1m_ir" 'BEGIN {
    printf "\ninstructions to first frame on large catalogues (callgrind)\n"
    printf "%-40s %12d   against 200 items %12d   ratio %5.3fx  (goal <= 1.15x: %s)\n",
        "50,000 names", k, s, k / s, (k / s <= 1.15) ? "met" : "MISSED"
    printf "%-40s %12d   %.0f M  (goal <= 400 M: %s)\n",
        "1,000,000 names", m, m / 1e6, (m <= 400e6) ? "met" : "MISSED"
}'
