#!/usr/bin/env bash
# Loading one hour of 44.1 kHz stereo FLAC and MP3 into a document (decode to a temporary 16-bit
# file, peak index and levels, through the operation runner) beside
# `ffmpeg -i x -f s16le -y out.raw` on the same file system, in the same run. Prints each time, the
# ratio (ours / ffmpeg; below 1 is faster) and the peak resident memory of a 10-minute and a
# one-hour load.
set -euo pipefail
DIR=${BENCH_DIR:-/tmp/sondrix-bench}
mkdir -p "$DIR"
cd "$DIR"

make_sources() {
    local minutes=$1
    local base=hour$minutes
    [ -s "$base.flac" ] && [ -s "$base.mp3" ] && return 0
    sox -n -r 44100 -c 2 -b 16 "$base.wav" synth $((minutes * 60)) pinknoise sine 440 vol 0.5
    flac --silent -f -o "$base.flac" "$base.wav"
    lame --quiet -b 192 "$base.wav" "$base.mp3"
    rm -f "$base.wav"
}
make_sources 60
make_sources 10

seconds() { # command... → wall seconds of the best of two runs
    local best=
    for _ in 1 2; do
        local start end
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s.%N)
        local t
        t=$(echo "$end - $start" | bc -l)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
    done
    echo "$best"
}

ours() { # file → wall seconds and peak resident MiB of our load
    LOAD_BENCH_FILES=$1 "$BUILD/bench/LoadBench" --benchmark_format=json 2>/dev/null |
        python3 -c 'import json,sys; b=json.load(sys.stdin)["benchmarks"][0]; print(b["real_time"]/1000, b["maxrss_MiB"])'
}

printf "%-12s %10s %10s %8s %12s\n" file "ours(s)" "ffmpeg(s)" ratio "peak RSS MiB"
for file in hour60.flac hour60.mp3 hour10.flac hour10.mp3; do
    best_ours=
    rss=
    for _ in 1 2; do
        read -r t r < <(ours "$DIR/$file")
        if [ -z "$best_ours" ] || [ "$(echo "$t < $best_ours" | bc -l)" = 1 ]; then best_ours=$t; rss=$r; fi
    done
    ff=$(seconds ffmpeg -hide_banner -nostdin -i "$file" -f s16le -y out.raw)
    rm -f out.raw
    printf "%-12s %10.2f %10.2f %8.2f %12.1f\n" "$file" "$best_ours" "$ff" "$(echo "$best_ours / $ff" | bc -l)" "$rss"
done
