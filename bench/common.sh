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

# Runs a command under /usr/bin/time and appends "seconds kilobytes" to the file $1 (with
# measure_cpu=1 also the processor seconds in user and system mode); the caller's $work folder
# keeps the time and the log.
measure() {
    local samples=$1 format="%e %M"
    shift
    [[ ${measure_cpu:-0} == 1 ]] && format="%e %M %U %S"
    /usr/bin/time -o "$work/time" -f "$format" "$@" >/dev/null 2>>"$work/log" \
        || { echo "failed: $*" >&2; tail -5 "$work/log" >&2; exit 1; }
    cat "$work/time" >>"$samples"
}

column_median() { # usage: column_median FILE COLUMN (1 seconds, 2 kilobytes)
    awk -v c="$2" '{ print $c }' "$1" | median
}
