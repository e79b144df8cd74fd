#!/usr/bin/env bash
# Converts a fixed set of fixtures with every profile and with merge, trims, crop, zoom, effects and
# volume, and keeps a fingerprint of every output: the file's MD5 and the MD5 of each decoded frame.
# Run "record" with one build and "check" with another to show that a change of the engine's inner
# structure leaves its outputs as they were. Outputs whose bytes differ still pass when their
# streams (ffprobe) and decoded frames are the same; anything else is listed and fails.
#
# usage: compare_outputs.sh record|check BUILD_DIR STORE_DIR
set -euo pipefail

mode=${1:?record or check}
build=$(realpath "${2:?build folder}")
store=$(realpath -m "${3:?store folder}")
cli="$build/bin/clipwright"
export CLIPWRIGHT_THREADS=1 LC_ALL=C.UTF-8

fixtures="$store/fixtures"
mkdir -p "$fixtures"

# A small clip with pictures and sound; a size and rate of its own per name.
make_fixture() {
  local path=$1 size=$2 rate=$3 seconds=$4
  shift 4
  [[ -s $path ]] && return
  ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=size=$size:rate=$rate" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100" -t "$seconds" "$@" "$path"
}
make_fixture "$fixtures/clip.mp4" 320x240 25 2 -ac 2 -c:v libx264 -pix_fmt yuv420p -c:a aac
make_fixture "$fixtures/second.avi" 352x288 30 2 -ac 1 -c:v mpeg4 -c:a libmp3lame
make_fixture "$fixtures/long.mkv" 160x120 25 19 -ac 2 -c:v libx264 -pix_fmt yuv420p -c:a libvorbis
[[ -s $fixtures/song.mp3 ]] ||
  ffmpeg -nostdin -v error -y -f lavfi -i "sine=frequency=330:sample_rate=44100" -t 2 -ac 2 "$fixtures/song.mp3"
[[ -s $fixtures/silent.mp4 ]] ||
  ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=320x240:rate=15" -t 2 -c:v libx264 \
    -pix_fmt yuv420p "$fixtures/silent.mp4"

out="$store/$mode"
rm -rf "$out"
mkdir -p "$out"

# case NAME PROFILE [CLIPWRIGHT_OPTIONS...] FILES...: one output named NAME.
run_case() {
  local name=$1 profile=$2
  shift 2
  mkdir -p "$out/$name"
  "$cli" convert -q -p "$profile" -o "$out/$name" --name out "$@" >"$out/$name.log" 2>&1 ||
    echo "exit $?" >>"$out/$name.log"
  sed -i "s|$out|OUT|g" "$out/$name.log"
}

i=0
while IFS= read -r profile; do
  i=$((i + 1))
  run_case "$(printf 'profile%02d' "$i")" "$profile" "$fixtures/clip.mp4"
done < <("$cli" profiles --names)

run_case merge "AVI video (Xvid)" --merge "$fixtures/clip.mp4" "$fixtures/second.avi" "$fixtures/silent.mp4"
run_case merge_mp4 "MP4 video (H.264)" --merge "$fixtures/second.avi" "$fixtures/clip.mp4"
run_case merge_audio "MP3 audio" --merge "$fixtures/song.mp3" "$fixtures/clip.mp4"
run_case trim "MP4 video (MPEG-4)" --start 0.5 --end 1.6 "$fixtures/clip.mp4"
run_case trim_audio "WAV audio" --start 0.25 --end 1.5 "$fixtures/song.mp3"
run_case trim_long "AVI video (Xvid)" --start 17 --end 18.5 "$fixtures/long.mkv"
run_case trim_merge "FLV video" --merge --start 0.5 --end 1.5 "$fixtures/clip.mp4" "$fixtures/second.avi"
run_case crop "AVI video (Xvid)" --crop 20,10,30,16 "$fixtures/clip.mp4"
run_case zoom_full "MP4 video (H.264)" --size 640x360 --zoom full "$fixtures/second.avi"
run_case zoom_169 "MOV video" --zoom 16:9 --crop 0,0,40,40 "$fixtures/clip.mp4"
run_case zoom_43 "WMV video" --size 480x272 --zoom 4:3 "$fixtures/clip.mp4"
run_case effects "AVI video (Xvid)" --brightness 30 --contrast -20 --saturation 40 --hflip "$fixtures/clip.mp4"
run_case emboss "MPEG-1 video" --effect emboss --vflip "$fixtures/clip.mp4"
run_case old "MKV video" --effect old --effect gray "$fixtures/second.avi"
run_case volume "MP3 audio" --volume 400 "$fixtures/clip.mp4"
run_case rates "MP4 video (H.264)" --size 200x150 --fps 12.5 --vb 300k --ar 22050 --ac 1 --ab 64k "$fixtures/clip.mp4"
run_case quality "MKV video (H.265)" --quality 30 --size source --fps source "$fixtures/second.avi"
run_case rm_trim "RealMedia video (RM)" --start 0.5 --crop 8,8,0,0 "$fixtures/clip.mp4"
run_case silent "3GP video" "$fixtures/silent.mp4"

# Fingerprints: the bytes, the streams as ffprobe shows them, and every decoded frame.
for dir in "$out"/*/; do
  name=$(basename "$dir")
  file=$(find "$dir" -type f | head -n 1)
  {
    if [[ -z $file ]]; then
      echo "no output"
    else
      md5sum <"$file" | cut -d' ' -f1
    fi
  } >"$out/$name.md5"
  [[ -n $file ]] || continue
  ffprobe -v error -show_entries stream=codec_name,width,height,pix_fmt,sample_rate,channels,r_frame_rate,nb_frames,duration \
    -of compact "$file" >"$out/$name.streams" 2>&1 || true
  ffmpeg -nostdin -v error -i "$file" -map 0:v? -map 0:a? -f framemd5 - 2>/dev/null | grep -v '^#' >"$out/$name.frames" || true
done
rm -rf "$out"/*/

[[ $mode == record ]] && { echo "recorded $(ls "$out"/*.md5 | wc -l) outputs in $out"; exit 0; }

before="$store/record"
same=0 equal=0 differ=0
for fingerprint in "$before"/*.md5; do
  name=$(basename "$fingerprint" .md5)
  if cmp -s "$fingerprint" "$out/$name.md5" && cmp -s "$before/$name.log" "$out/$name.log"; then
    same=$((same + 1))
  elif cmp -s "$before/$name.streams" "$out/$name.streams" && cmp -s "$before/$name.frames" "$out/$name.frames" &&
    cmp -s "$before/$name.log" "$out/$name.log"; then
    equal=$((equal + 1))
    echo "$name: other bytes, same streams and decoded frames"
  else
    differ=$((differ + 1))
    echo "$name: DIFFERS"
    diff "$before/$name.log" "$out/$name.log" | head -5 || true
  fi
done
echo "byte-identical $same, same streams and frames $equal, different $differ"
[[ $differ -eq 0 ]]
