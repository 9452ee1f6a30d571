#!/usr/bin/env bash
# The player's refill cost, start latency and behaviour under a busy main thread, beside sox
# reading the same ten seconds of 96 kHz 8-channel samples (per sixteenth of a second).
set -euo pipefail
"$BUILD/bench/PlayerBench"
data="${BENCH_DIR:-/tmp}/player-96000x8.raw"
if command -v sox >/dev/null && [ -e "$data" ]; then
    start=$(date +%s%N)
    sox -t raw -r 96000 -e signed -b 16 -c 8 "$data" -t raw /dev/null
    end=$(date +%s%N)
    echo "sox reading 10 s of 96 kHz x 8: $(( (end - start) / 1000 )) us, $(( (end - start) / 160000 )) us per segment"
fi
