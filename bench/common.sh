# Shared by the compare.sh scripts: sourced, never run.

# Median of the numbers on standard input, one a line.
median() {
  sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# A 640x480 25 fps H.264 clip with stereo 440 Hz sound.
# usage: make_clip SOURCE SECONDS PATH [FURTHER_OUTPUT_OPTIONS...]   (SOURCE: testsrc, testsrc2)
make_clip() {
  local source=$1 seconds=$2 path=$3
  shift 3
  ffmpeg -nostdin -v error -y -f lavfi -i "$source=size=640x480:rate=25" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100" -ac 2 -t "$seconds" \
    -c:v libx264 -pix_fmt yuv420p -c:a aac "$@" "$path"
}
