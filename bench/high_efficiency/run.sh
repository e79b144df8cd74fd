#!/bin/bash
# Converts a 20 s 640x480 25 fps clip with each built-in profile of the High efficiency category
# and prints the seconds each took and its speed as a multiple of real time.
#
# usage: bench/high_efficiency/run.sh [BUILD_DIR]   (default: build)
set -euo pipefail
source "$(dirname "$0")/../common.sh"

build=${1:-build}
bench="$build/bin/bench_profiles"
[ -x "$bench" ] || { echo "missing $bench: cmake --build $build --target bench_profiles" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
make_clip testsrc 20 "$work/clip20.mp4"
"$bench" "$build/bin/profile" 16 "$work/clip20.mp4" 20 "$work" 2>/dev/null
