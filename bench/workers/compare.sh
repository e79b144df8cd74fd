#!/bin/bash
# Batches converted by clipwright with its worker processes, side by side with what they are
# measured against (median wall time of the rounds; each round runs both one after the other, so
# that load from elsewhere falls on both alike):
#   1. 16 WAV files of 30 s to MP3: clipwright (automatic number of workers) against the ffmpeg
#      tool run on every core with xargs -P $(nproc), at the profile's settings, and today's
#      sequential clipwright against the same, for the base the workers start from;
#   2. 8 AVI (Xvid) conversions of a 20 s 640x480 clip: clipwright against today's sequential
#      clipwright (TODAY, or this build's clipwright with --jobs 1 when none is given);
#   3. one 1080p H.264 job (10 s): clipwright against the same TODAY.
# The machine's load average is printed before and after.
#
# usage: bench/workers/compare.sh [BUILD_DIR] [ROUNDS] [TODAY]   (defaults: build, 5, --jobs 1)
set -euo pipefail
source "$(dirname "$0")/../common.sh"

build=${1:-build}
runs=${2:-5}
clipwright="$build/bin/clipwright"
today=${3:-}
[ -x "$clipwright" ] || { echo "missing $clipwright: cmake --build $build --target clipwright" >&2; exit 1; }
if [ -n "$today" ]; then today_run=("$today"); today_name="$today"; else today_run=("$clipwright"); today_name="clipwright --jobs 1"; fi
today_options=()
[ -z "$today" ] && today_options=(--jobs 1)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Appends the wall seconds of a command to the file $1.
measure() {
    local samples=$1
    shift
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>>"$work/log" || { echo "failed: $*" >&2; tail -5 "$work/log" >&2; exit 1; }
    end=$(date +%s.%N)
    echo "$end - $start" | bc >>"$samples"
}

# usage: compare NAME SAMPLES_A SAMPLES_B LABEL_A LABEL_B
report() {
    awk -v name="$1" -v a="$(median <"$2")" -v b="$(median <"$3")" -v la="$4" -v lb="$5" \
        'BEGIN { printf "%-24s %-22s %8.2f s   %-28s %8.2f s   ratio %.2f\n", name, la, a, lb, b, a / b }'
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"

# 1. Sound: 16 WAV files of 30 s.
mkdir -p "$work/wav"
for i in $(seq 16); do
    ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=$((200 + i * 50)):sample_rate=44100:duration=30" -ac 2 \
        "$work/wav/tone$i.wav"
done
: >"$work/mp3_ours" && : >"$work/mp3_tool" && : >"$work/mp3_today"
for _ in $(seq "$runs"); do
    rm -rf "$work/mp3" && mkdir -p "$work/mp3"
    measure "$work/mp3_ours" "$clipwright" convert -q -p "MP3 audio" -o "$work/mp3" "$work"/wav/*.wav
    rm -rf "$work/mp3" && mkdir -p "$work/mp3"
    measure "$work/mp3_today" "${today_run[@]}" convert -q -p "MP3 audio" "${today_options[@]}" -o "$work/mp3" "$work"/wav/*.wav
    rm -rf "$work/mp3" && mkdir -p "$work/mp3"
    measure "$work/mp3_tool" sh -c "ls '$work'/wav/*.wav | xargs -P $(nproc) -I{} sh -c \
        'ffmpeg -nostdin -v error -y -i \"\$1\" -c:a libmp3lame -b:a 128k -ar 44100 -ac 2 \"$work/mp3/\$(basename \"\$1\" .wav).mp3\"' _ {}"
done
report "16 WAV 30 s to MP3" "$work/mp3_ours" "$work/mp3_tool" "clipwright" "ffmpeg xargs -P $(nproc)"
report "16 WAV 30 s to MP3" "$work/mp3_today" "$work/mp3_tool" "$today_name" "ffmpeg xargs -P $(nproc)"

# Rounds of PROFILE on the FILES by this build's clipwright and by today's, then their line.
# usage: against_today NAME PROFILE FILES...
against_today() {
    local name=$1 profile=$2
    shift 2
    : >"$work/ours" && : >"$work/today"
    for _ in $(seq "$runs"); do
        rm -rf "$work/out" && mkdir -p "$work/out"
        measure "$work/ours" "$clipwright" convert -q -p "$profile" -o "$work/out" "$@"
        rm -rf "$work/out" && mkdir -p "$work/out"
        measure "$work/today" "${today_run[@]}" convert -q -p "$profile" "${today_options[@]}" -o "$work/out" "$@"
    done
    report "$name" "$work/ours" "$work/today" "clipwright" "$today_name"
}

# 2. Eight Xvid jobs of one 20 s 640x480 clip.
make_clip testsrc 20 "$work/clip20.mp4"
clips=()
for i in $(seq 8); do ln -s "$work/clip20.mp4" "$work/clip20_$i.mp4"; clips+=("$work/clip20_$i.mp4"); done
against_today "8 Xvid AVI 20 s 640x480" "AVI video (Xvid)" "${clips[@]}"

# 3. One 1080p H.264 job.
make_clip testsrc2 10 "$work/clip1080.mp4" -s 1920x1080
against_today "one 1080p H.264 job" "HD MP4 1080p (H.264)" "$work/clip1080.mp4"

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
