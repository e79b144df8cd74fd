#!/bin/bash
# The general MP4 (H.264) profile at its constant quality against HandBrakeCLI's "Fast 1080p30"
# preset (x264 RF 22) on the same 1080p clip: video stream size, PSNR against the source and wall
# time of each (median of the rounds; each round runs both one after the other, so that load from
# elsewhere on the machine falls on both alike), with the spread of the per-round time ratios as
# a measure of the noise. Installs handbrake-cli from Debian when it is missing (root or sudo).
#
# usage: bench/quality/compare.sh [BUILD_DIR] [ROUNDS] [SECONDS]   (defaults: build, 5, 10)
set -euo pipefail
source "$(dirname "$0")/../common.sh"

build=${1:-build}
runs=${2:-5}
seconds=${3:-10}
clipwright="$build/bin/clipwright"
[ -x "$clipwright" ] || { echo "missing $clipwright: cmake --build $build --target clipwright" >&2; exit 1; }
if ! command -v HandBrakeCLI >/dev/null; then
    sudo=$([ "$(id -u)" = 0 ] || echo sudo)
    $sudo apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends handbrake-cli >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A 1080p 30 fps test pattern with light grain that changes every picture, as a camera's has,
# kept nearly lossless so that the source does not decide the PSNR.
ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=size=1920x1080:rate=30" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000" -ac 2 -t "$seconds" \
    -vf "noise=alls=6:allf=t" -c:v libx264 -crf 10 -preset veryfast -pix_fmt yuv420p -c:a aac "$work/source.mp4"

# Seconds of wall time of a command, appended to the file $1.
timed() {
    local samples=$1
    shift
    local start end
    start=$(date +%s.%N)
    "$@" >"$work/log" 2>&1 || { echo "failed: $*" >&2; tail -5 "$work/log" >&2; exit 1; }
    end=$(date +%s.%N)
    echo "$end - $start" | bc >>"$samples"
}

video_bytes() {
    ffprobe -v error -select_streams v:0 -show_entries packet=size -of csv=p=0 "$1" | awk '{ s += $1 } END { print s }'
}

psnr() { # average PSNR of the converted pictures against the source, picture by picture
    ffmpeg -nostdin -hide_banner -nostats -i "$1" -i "$work/source.mp4" \
        -lavfi "[0:v]settb=1/30,setpts=N[a];[1:v]settb=1/30,setpts=N[b];[a][b]psnr" -f null - 2>&1 |
        sed -n 's/.*average:\([0-9.inf]*\).*/\1/p' | tail -1
}

: >"$work/ours" && : >"$work/handbrake"
for _ in $(seq "$runs"); do
    rm -f "$work/out/source.mp4"
    timed "$work/ours" "$clipwright" convert -q -p "MP4 video (H.264)" --size source --fps source \
        -o "$work/out" "$work/source.mp4"
    timed "$work/handbrake" HandBrakeCLI --preset "Fast 1080p30" -i "$work/source.mp4" -o "$work/handbrake.mp4"
done

ours_bytes=$(video_bytes "$work/out/source.mp4")
hb_bytes=$(video_bytes "$work/handbrake.mp4")
ours_psnr=$(psnr "$work/out/source.mp4")
hb_psnr=$(psnr "$work/handbrake.mp4")
ours_s=$(median <"$work/ours")
hb_s=$(median <"$work/handbrake")
spread=$(paste "$work/ours" "$work/handbrake" | awk '{ r = $1 / $2; if (NR == 1 || r < lo) lo = r; if (NR == 1 || r > hi) hi = r }
                                                  END { printf "%.2f..%.2f", lo, hi }')
echo "1920x1080 30 fps, $seconds s, $runs rounds, load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-22s %12s %8s %8s\n' "" video_KB PSNR_dB wall_s
printf '%-22s %12d %8.2f %8.2f\n' "MP4 video (H.264)" $((ours_bytes / 1000)) "$ours_psnr" "$ours_s"
printf '%-22s %12d %8.2f %8.2f\n' "HandBrake Fast 1080p30" $((hb_bytes / 1000)) "$hb_psnr" "$hb_s"
awk -v ob="$ours_bytes" -v hb="$hb_bytes" -v op="$ours_psnr" -v hp="$hb_psnr" -v os="$ours_s" -v hs="$hb_s" \
    -v spread="$spread" 'BEGIN { printf "size %.2f, PSNR %+.2f dB, wall time %.2f (per round %s)\n",
                                 ob / hb, op - hp, os / hs, spread }'
