#!/bin/bash
# Cost of the picture effects in a whole conversion: a 20 s 640x480 clip converted to avi at its
# own size with each effect set (colour: brightness, contrast, saturation; emboss; old with both
# flips) against the same conversion without effects. The conversions of one round run one after
# another, so that load from elsewhere on the machine falls on all of them alike. Prints every
# round's seconds, the medians and the ratios (target: at most 1.10 each), and the spread of the
# per-round ratios as a measure of the noise.
# Usage: bench/effects/compare.sh [BUILD_DIR] [ROUNDS]   (defaults: build/ of the checkout, 5)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/../common.sh"
build=${1:-$here/../../build}
runs=${2:-5}
driver=$build/bin/bench_convert
target=1.10
sets=(plain colour emboss old)

if [[ ! -x $driver ]]; then
  echo "missing $driver: build the target bench_convert first" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_clip testsrc2 20 "$work/clip.mp4" -preset veryfast

# Seconds of one conversion, as the driver measures it.
run_once() {
  "$driver" avi 0 "$work/clip.mp4" "$work/$1.avi" "$1" 2>>"$work/engine.log" || {
    echo "conversion ($1) failed; engine log:" >&2
    tail -n 20 "$work/engine.log" >&2
    exit 1
  }
}

for ((i = 0; i < runs; i++)); do
  for set in "${sets[@]}"; do
    run_once "$set" >>"$work/$set"
  done
done

plain_median=$(median <"$work/plain")
printf '%-7s %-40s %7s %7s %s\n' set "seconds of each round" median ratio "per-round ratios min..max"
for set in "${sets[@]}"; do
  set_median=$(median <"$work/$set")
  spread=$(paste "$work/$set" "$work/plain" | awk '{ r = $1 / $2; if (NR == 1 || r < lo) lo = r; if (NR == 1 || r > hi) hi = r }
                                                    END { printf "%.3f..%.3f", lo, hi }')
  awk -v s="$set" -v all="$(paste -sd' ' "$work/$set")" -v m="$set_median" -v p="$plain_median" -v t="$target" \
      -v spread="$spread" 'BEGIN {
    r = m / p
    verdict = s == "plain" ? "" : (r <= t ? "met" : "missed")
    printf "%-7s %-40s %7.3f %7.3f %s %s\n", s, all, m, r, s == "plain" ? "" : spread, verdict
  }'
done
echo "target: each ratio at most $target"
