#!/bin/bash
# Times the engine of two builds on the same clip, one after the other in every round, so that load
# from elsewhere on the machine falls on both alike: wall time, processor time (user + system) and
# peak memory (medians) of each, the ratios after / before and the spread of the per-round wall
# time ratios. Both builds need bench_convert. On a loaded machine the processor time is the
# steadier figure.
#
# usage: bench/structure/before_after.sh BEFORE_BUILD AFTER_BUILD [ROUNDS]   (default 5 rounds)
set -euo pipefail
source "$(dirname "$0")/../common.sh"

before=${1:?before build folder}/bin/bench_convert
after=${2:?after build folder}/bin/bench_convert
runs=${3:-5}
for convert in "$before" "$after"; do
    [ -x "$convert" ] || { echo "missing $convert" >&2; exit 1; }
done

measure_cpu=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_clip testsrc 20 "$work/clip20.mp4"
cpu_medians() { awk '{ print $3 + $4 }' "$1" | median; }

printf '%-6s %9s %9s %7s %-13s %9s %9s %7s %10s %10s\n' format before_s after_s ratio round_ratios \
    cpu_bef_s cpu_aft_s ratio before_KB after_KB
for format in avi mp4; do
    : >"$work/before" && : >"$work/after"
    for round in $(seq "$runs"); do
        # Alternate which goes first, so neither always meets the other's leftovers.
        if ((round % 2)); then
            measure "$work/before" "$before" "$format" 0 "$work/clip20.mp4" "$work/out.$format" 320x240
            measure "$work/after" "$after" "$format" 0 "$work/clip20.mp4" "$work/out.$format" 320x240
        else
            measure "$work/after" "$after" "$format" 0 "$work/clip20.mp4" "$work/out.$format" 320x240
            measure "$work/before" "$before" "$format" 0 "$work/clip20.mp4" "$work/out.$format" 320x240
        fi
    done
    spread=$(paste "$work/before" "$work/after" | awk '{ r = $5 / $1; if (NR == 1 || r < lo) lo = r; if (NR == 1 || r > hi) hi = r }
                                                   END { printf "%.2f..%.2f", lo, hi }')
    awk -v f="$format" -v b="$(column_median "$work/before" 1)" -v a="$(column_median "$work/after" 1)" \
        -v cb="$(cpu_medians "$work/before")" -v ca="$(cpu_medians "$work/after")" \
        -v bk="$(column_median "$work/before" 2)" -v ak="$(column_median "$work/after" 2)" -v spread="$spread" \
        'BEGIN { printf "%-6s %9.2f %9.2f %7.2f %-13s %9.2f %9.2f %7.2f %10d %10d\n", f, b, a, a / b, spread,
                 cb, ca, ca / cb, bk, ak }'
done
