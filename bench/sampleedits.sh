#!/usr/bin/env bash
# The six sample-processing edits over one hour of 44.1 kHz stereo 16-bit audio (about 635 MB)
# beside sox doing the same effect on the same file, and a plain copy of the file, in the same run.
# Prints the mean of three runs of each and the ratios.
set -euo pipefail
DIR=${BENCH_DIR:-/tmp/sondrix-bench}
mkdir -p "$DIR"
export BENCH_DIR=$DIR
export SAMPLE_EDITS_WAV=$DIR/sampleedits-hour.wav
RUNS=3

# Ours first: the program makes the file when it is missing.
ours=$("$BUILD/bench/SampleEditsBench" --benchmark_format=csv 2>/dev/null | grep '^"')

seconds() { # command… : mean wall time of $RUNS runs, output deleted after each
    local total=0 start end
    for _ in $(seq "$RUNS"); do
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s.%N)
        total=$(awk -v t="$total" -v a="$start" -v b="$end" 'BEGIN { print t + b - a }')
        rm -f "$DIR/sampleedits-out.wav"
    done
    awk -v t="$total" -v n="$RUNS" 'BEGIN { print t / n }'
}

IN=$SAMPLE_EDITS_WAV
OUT=$DIR/sampleedits-out.wav
copy=$(seconds cp "$IN" "$OUT")
declare -A sox
sox[Normalize]=$(seconds sox -D "$IN" "$OUT" norm)
sox[Amplify]=$(seconds sox -D "$IN" "$OUT" vol 0.5)
sox[FadeIn]=$(seconds sox -D "$IN" "$OUT" fade q 3600)
sox[FadeOut]=$(seconds sox -D "$IN" "$OUT" fade q 0 3600 3600)
sox[Reverse]=$(seconds sox -D "$IN" "$OUT" reverse)
sox[Invert]=$(seconds sox -D "$IN" "$OUT" vol -1)

printf '%-10s %9s %9s %9s %12s %13s\n' edit "ours s" "sox s" "copy s" "sox / ours" "ours / copy"
for edit in Normalize Amplify FadeIn FadeOut Reverse Invert; do
    # CSV: "name/iterations:3/real_time",iterations,real_time,cpu_time,time_unit,…
    ms=$(echo "$ours" | awk -F, -v e="\"$edit/" 'index($1, e) == 1 { print $3 }')
    awk -v e="$edit" -v ms="$ms" -v x="${sox[$edit]}" -v c="$copy" \
        'BEGIN { s = ms / 1000; printf "%-10s %9.2f %9.2f %9.2f %12.1f %13.1f\n", e, s, x, c, x / s, s / c }'
done
