#!/bin/bash
# Converts the same clip with the engine (bench_convert) and with the ffmpeg tool at identical
# settings and prints the ratios of wall time and peak memory (engine / tool, median of 5 runs),
# then the engine's peak memory for a short and a long input.
#
# usage: bench/transcode/compare.sh [BUILD_DIR]   (default: build)
set -euo pipefail
source "$(dirname "$0")/../common.sh"

build=${1:-build}
convert="$build/bin/bench_convert"
runs=5
[ -x "$convert" ] || { echo "missing $convert: cmake --build $build --target bench_convert" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "missing /usr/bin/time (package time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs a command under /usr/bin/time; prints "seconds kilobytes".
measure() {
    /usr/bin/time -o "$work/time" -f "%e %M" "$@" >/dev/null 2>>"$work/log" \
        || { echo "failed: $*" >&2; tail -5 "$work/log" >&2; exit 1; }
    cat "$work/time"
}

column_median() { # column of the samples file: 1 seconds, 2 kilobytes
    awk -v c="$1" '{ print $c }' "$work/samples" | median
}

# "seconds kilobytes" medians of $runs runs of a command.
medians() {
    : >"$work/samples"
    for _ in $(seq "$runs"); do measure "$@" >>"$work/samples"; done
    echo "$(column_median 1) $(column_median 2)"
}

# The tool's settings equal to the engine's defaults for each format (with 320x240 pictures).
tool_settings() {
    case $1 in
    avi) echo "-c:v libxvid -vtag XVID -b:v 1500k -s 320x240 -r 29.97 -c:a libmp3lame -b:a 128k -ar 44100 -ac 2" ;;
    mp4) echo "-c:v libx264 -b:v 1500k -s 320x240 -r 29.97 -c:a aac -b:a 96k -ar 44100 -ac 2" ;;
    esac
}

make_clip testsrc 20 "$work/clip20.mp4"
printf '%-6s %10s %10s %10s %12s %12s %10s\n' format engine_s tool_s time_ratio engine_KB tool_KB mem_ratio
for format in avi mp4; do
    engine=$(medians "$convert" "$format" 0 "$work/clip20.mp4" "$work/engine.$format" 320x240)
    # shellcheck disable=SC2046 # the settings are separate words on purpose
    tool=$(medians ffmpeg -nostdin -v error -y -threads 1 -i "$work/clip20.mp4" \
        -threads 1 -filter_threads 1 $(tool_settings "$format") "$work/tool.$format")
    read -r engine_s engine_kb <<<"$engine"
    read -r tool_s tool_kb <<<"$tool"
    awk -v f="$format" -v es="$engine_s" -v ts="$tool_s" -v ek="$engine_kb" -v tk="$tool_kb" \
        'BEGIN { printf "%-6s %10.2f %10.2f %10.2f %12d %12d %10.2f\n", f, es, ts, es / ts, ek, tk, ek / tk }'
done

echo
echo "engine peak memory (avi, 640x480 25 fps input, median of $runs):"
for seconds in 10 60; do
    make_clip testsrc "$seconds" "$work/clip$seconds.mp4"
    long=$(medians "$convert" avi 0 "$work/clip$seconds.mp4" "$work/long.avi" 320x240)
    echo "  ${seconds} s input: ${long#* } KB"
done
