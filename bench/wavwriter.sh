#!/usr/bin/env bash
# The WAV writer beside the tools a user would use instead, on one hour of 44.1 kHz stereo
# (635 MB) in the page cache, all in the same run: a 16-bit PCM save beside `cp` of the source,
# and an IMA ADPCM save beside `ffmpeg -c:a adpcm_ima_wav`. Prints each time and the ratios.
set -euo pipefail
DIR=${BENCH_DIR:-/tmp/sondrix-bench}
mkdir -p "$DIR"
SOURCE="$DIR/hour-stereo.wav"
if [ ! -f "$SOURCE" ]; then
    ffmpeg -v error -f lavfi -i "aevalsrc=0.5*sin(2*PI*440*t)|0.5*sin(2*PI*660*t):s=44100:d=3600" \
        -c:a pcm_s16le "$SOURCE"
fi
cat "$SOURCE" > /dev/null

seconds() { # runs the command three times and prints the best wall time in seconds
    local best=
    for _ in 1 2 3; do
        local start end
        start=$(date +%s.%N)
        "$@"
        end=$(date +%s.%N)
        best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; print (b == "" || t < b) ? t : b }')
    done
    echo "$best"
}

cp_time=$(seconds cp "$SOURCE" "$DIR/cp-copy.wav")
rm -f "$DIR/cp-copy.wav"
ffmpeg_time=$(seconds ffmpeg -v error -y -i "$SOURCE" -c:a adpcm_ima_wav "$DIR/ffmpeg-ima.wav")
rm -f "$DIR/ffmpeg-ima.wav"

csv=$("$BUILD/bench/WavWriterBench" --benchmark_format=csv 2>/dev/null)
echo "$csv"
writer_time() { # real time in seconds of one benchmark (ms in the CSV)
    echo "$csv" | awk -F, -v name="\"$1/iterations:3/real_time\"" '$1 == name { print $3 / 1000 }'
}
pcm_time=$(writer_time SavePcm16)
ima_time=$(writer_time SaveImaAdpcm)

printf 'cp of the source:                   %6.2f s\n' "$cp_time"
printf 'writer, 16-bit PCM:                 %6.2f s  (%.2f x cp)\n' "$pcm_time" \
    "$(awk -v a="$pcm_time" -v b="$cp_time" 'BEGIN { print a / b }')"
printf 'ffmpeg -c:a adpcm_ima_wav:          %6.2f s\n' "$ffmpeg_time"
printf 'writer, IMA ADPCM:                  %6.2f s  (%.2f x ffmpeg)\n' "$ima_time" \
    "$(awk -v a="$ima_time" -v b="$ffmpeg_time" 'BEGIN { print a / b }')"
