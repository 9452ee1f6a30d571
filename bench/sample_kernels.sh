#!/usr/bin/env bash
# Peak scanning and float conversion throughput beside memcpy, and, for scale, sox's own
# min/max scan ("stat") of ten minutes of 44.1 kHz stereo in the same run.
set -euo pipefail
: "${BUILD:?set by bench.sh}"
BENCH_DIR=${BENCH_DIR:-/tmp/sondrix-bench}
mkdir -p "$BENCH_DIR"

"$BUILD/bench/SampleKernelsBench" --benchmark_min_time=0.2 --benchmark_counters_tabular=true

wav="$BENCH_DIR/kernels-10min.wav"
[ -e "$wav" ] || sox -n -r 44100 -c 2 -b 16 "$wav" synth 600 sine 440 sine 660 vol 0.9
bytes=$(stat -c %s "$wav")
start=$(date +%s.%N)
sox "$wav" -n stat 2>/dev/null
end=$(date +%s.%N)
awk -v b="$bytes" -v s="$start" -v e="$end" \
    'BEGIN { printf "sox stat of %.0f MB: %.3f s, %.2f GB/s\n", b / 1e6, e - s, b / (e - s) / 1e9 }'
