#!/usr/bin/env bash
# Adds a folder of 200 short clips to the job list five times; prints the median seconds, the
# median longest freeze of the window in milliseconds, and the number of rows added.
# usage: bench/job_list/add_folder.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../../build}"
source "$here/../common.sh"
cmake --build "$build" --target bench_add_folder -j2 >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/folder"
make_clip testsrc 2 "$work/clip.mp4" -s 320x240
for i in $(seq -w 1 200); do cp "$work/clip.mp4" "$work/folder/clip_$i.mp4"; done
# The engine logs every probe on the standard error stream.
for run in 1 2 3 4 5; do "$build/bin/bench_add_folder" "$work/folder" 2>/dev/null; done >"$work/runs"
echo "seconds: $(cut -d' ' -f1 "$work/runs" | median)"
echo "longest freeze (ms): $(cut -d' ' -f2 "$work/runs" | median)"
echo "rows: $(cut -d' ' -f3 "$work/runs" | head -1)"
