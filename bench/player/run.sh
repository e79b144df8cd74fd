#!/bin/bash
# The player's cost: CPU use while playing a 640x480 25 fps H.264 clip with sound (target: below
# 30 % of one core), pictures dropped while playing a 1920x1080 clip (target: none), and the time
# from startPlay(n) to the first picture at n with a key frame every 10 s (target: below 150 ms).
# Sound goes through SDL's disk driver into /dev/null, so decoding, resampling and the sound
# clock all run as with a sound card. Prints the median of 5 runs.
# Usage: bench/player/run.sh [BUILD_DIR]   (default: build/ of the checkout)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/../common.sh"
build=${1:-$here/../../build}
driver=$build/bin/bench_player
runs=5

if [[ ! -x $driver ]]; then
  echo "missing $driver: build the target bench_player first" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null

make_clip testsrc2 20 "$work/vga.mp4" -preset veryfast -g 250
ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=size=1920x1080:rate=25" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100" -ac 2 -t 10 \
  -c:v libx264 -preset veryfast -g 250 -pix_fmt yuv420p -c:a aac "$work/hd.mp4"

cpu=()
for ((i = 0; i < runs; i++)); do
  cpu+=("$("$driver" play "$work/vga.mp4" 8 640 480 | awk '{ print $2 }')")
done
echo "640x480 25 fps, panel 640x480, CPU % of one core: ${cpu[*]}  median $(printf '%s\n' "${cpu[@]}" | median)"

for ((i = 0; i < runs; i++)); do
  echo "1920x1080 25 fps, panel 960x540: $("$driver" play "$work/hd.mp4" 8 960 540)"
done

# Key frames at 0 and 10 s: a seek to 9 s decodes the most pictures before the one shown.
seeks=$("$driver" seek "$work/vga.mp4" 9 3 19 5 9 15 1 9 13 9 | tee "$work/seeks.txt")
echo "startPlay(n) to the first picture, ms: $(echo "$seeks" | awk '{ printf "%s:%s ", $1, $2 }')"
echo "median $(awk '{ print $2 }' "$work/seeks.txt" | median), worst $(awk '{ print $2 }' "$work/seeks.txt" | sort -g | tail -1)"
