#!/usr/bin/env bash
# The waveform view's repaints and a cursor key on two and sixty minutes of 44.1 kHz stereo, each
# beside a plain fill of the same 1920 x 1000 image in the same run (no outside tool draws this
# picture, so the fill is the yardstick).
set -euo pipefail
DIR=${BENCH_DIR:-/tmp/sondrix-bench}
mkdir -p "$DIR"
for minutes in 2 60; do
    file="$DIR/view$minutes.wav"
    [ -s "$file" ] || sox -n -r 44100 -c 2 -b 16 "$file" synth $((minutes * 60)) pinknoise sine 440 vol 0.5
done
QT_QPA_PLATFORM=offscreen SONDRIX_AUDIO=null "$BUILD/bench/ViewDrawBench" "$DIR/view2.wav" "$DIR/view60.wav"
