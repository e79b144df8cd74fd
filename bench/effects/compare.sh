#!/bin/bash
# Cost of the picture effects in a whole conversion: a 20 s 640x480 clip converted to avi with
# brightness, contrast, saturation and gray on, against the same conversion without effects.
# Prints the median of 5 runs of each and their ratio (target: at most 1.25).
# Usage: bench/effects/compare.sh [BUILD_DIR]   (default: build/ of the checkout)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
driver=$build/bin/bench_effects_convert
runs=5
target=1.25

if [[ ! -x $driver ]]; then
  echo "missing $driver: build the target bench_effects_convert first" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ffmpeg -nostdin -hide_banner -loglevel error -y \
  -f lavfi -i testsrc2=size=640x480:rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100 \
  -t 20 -ac 2 -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac "$work/clip.mp4"

# Seconds of one conversion, as the driver measures it.
run_once() {
  "$driver" "$work/clip.mp4" "$work/$1.avi" "$1" 2>>"$work/engine.log" || {
    echo "conversion ($1) failed; engine log:" >&2
    tail -n 20 "$work/engine.log" >&2
    exit 1
  }
}

median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

plain=()
effects=()
for ((i = 0; i < runs; i++)); do
  plain+=("$(run_once plain)")
  effects+=("$(run_once effects)")
done

plain_median=$(median "${plain[@]}")
effects_median=$(median "${effects[@]}")
echo "without effects (s): ${plain[*]}  median $plain_median"
echo "with effects (s):    ${effects[*]}  median $effects_median"
awk -v e="$effects_median" -v p="$plain_median" -v t="$target" 'BEGIN {
  ratio = e / p
  printf "ratio: %.3f (target <= %.2f: %s)\n", ratio, t, ratio <= t ? "met" : "missed"
}'
