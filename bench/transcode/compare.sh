#!/bin/bash
# Converts the same clip with the engine (bench_convert) and with the ffmpeg tool, both at their
# default threading, and prints wall time and peak memory of each (median of the rounds), the
# ratios engine / tool and the spread of the per-round time ratios as a measure of the noise.
# Each round runs the engine and the tool one after the other, so that load from elsewhere on
# the machine falls on both alike. Then the engine's peak memory for a short and a long input.
# CLIPWRIGHT_THREADS=1 in the environment holds the engine to one thread (the tool is not).
#
# usage: bench/transcode/compare.sh [BUILD_DIR] [ROUNDS]   (defaults: build, 5)
set -euo pipefail
source "$(dirname "$0")/../common.sh"

build=${1:-build}
runs=${2:-5}
convert="$build/bin/bench_convert"
[ -x "$convert" ] || { echo "missing $convert: cmake --build $build --target bench_convert" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "missing /usr/bin/time (package time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The tool's settings equal to the engine's defaults for each format (with 320x240 pictures).
tool_settings() {
    case $1 in
    avi) echo "-c:v libxvid -vtag XVID -b:v 1500k -s 320x240 -r 29.97 -c:a libmp3lame -b:a 128k -ar 44100 -ac 2" ;;
    mp4) echo "-c:v libx264 -b:v 1500k -s 320x240 -r 29.97 -c:a aac -b:a 96k -ar 44100 -ac 2" ;;
    esac
}

make_clip testsrc 20 "$work/clip20.mp4"
printf '%-6s %9s %9s %7s %-13s %10s %10s %7s\n' format engine_s tool_s ratio "round_ratios" engine_KB tool_KB mem
for format in avi mp4; do
    : >"$work/engine" && : >"$work/tool"
    for _ in $(seq "$runs"); do
        measure "$work/engine" "$convert" "$format" 0 "$work/clip20.mp4" "$work/engine.$format" 320x240
        # shellcheck disable=SC2046 # the settings are separate words on purpose
        measure "$work/tool" ffmpeg -nostdin -v error -y -i "$work/clip20.mp4" $(tool_settings "$format") \
            "$work/tool.$format"
    done
    spread=$(paste "$work/engine" "$work/tool" | awk '{ r = $1 / $3; if (NR == 1 || r < lo) lo = r; if (NR == 1 || r > hi) hi = r }
                                                     END { printf "%.2f..%.2f", lo, hi }')
    awk -v f="$format" -v es="$(column_median "$work/engine" 1)" -v ts="$(column_median "$work/tool" 1)" \
        -v ek="$(column_median "$work/engine" 2)" -v tk="$(column_median "$work/tool" 2)" -v spread="$spread" \
        'BEGIN { printf "%-6s %9.2f %9.2f %7.2f %-13s %10d %10d %7.2f\n", f, es, ts, es / ts, spread, ek, tk, ek / tk }'
done

echo
echo "engine peak memory (avi, 640x480 25 fps input, median of $runs):"
for seconds in 10 60; do
    make_clip testsrc "$seconds" "$work/clip$seconds.mp4"
    : >"$work/long"
    for _ in $(seq "$runs"); do
        measure "$work/long" "$convert" avi 0 "$work/clip$seconds.mp4" "$work/long.avi" 320x240
    done
    echo "  ${seconds} s input: $(column_median "$work/long" 2) KB"
done
