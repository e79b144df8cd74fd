#!/bin/bash
# Cost of the picture effects in a whole conversion: a 20 s 640x480 clip converted to avi with
# brightness, contrast, saturation and gray on, against the same conversion without effects.
# Prints the median of 5 runs of each and their ratio (target: at most 1.25).
# Usage: bench/effects/compare.sh [BUILD_DIR]   (default: build/ of the checkout)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/../common.sh"
build=${1:-$here/../../build}
driver=$build/bin/bench_convert
runs=5
target=1.25

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

plain=()
effects=()
for ((i = 0; i < runs; i++)); do
  plain+=("$(run_once plain)")
  effects+=("$(run_once effects)")
done

plain_median=$(printf '%s\n' "${plain[@]}" | median)
effects_median=$(printf '%s\n' "${effects[@]}" | median)
echo "without effects (s): ${plain[*]}  median $plain_median"
echo "with effects (s):    ${effects[*]}  median $effects_median"
awk -v e="$effects_median" -v p="$plain_median" -v t="$target" 'BEGIN {
  ratio = e / p
  printf "ratio: %.3f (target <= %.2f: %s)\n", ratio, t, ratio <= t ? "met" : "missed"
}'
