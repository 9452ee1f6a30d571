#!/usr/bin/env bash
# Converting paste of one hour of 44.1 kHz stereo into a 48 kHz document, beside sox converting the
# same file to 48 kHz in the same run; delete and paste on a table of 10,000 pieces.
set -euo pipefail
"$BUILD/bench/StructuralEditsBench"
IN="$BENCH_DIR/hour-44100-stereo.wav"
OUT="$BENCH_DIR/hour-sox-48000.wav"
for run in 1 2; do
    TIMEFORMAT="sox hour-44100-stereo.wav -r 48000 out.wav (run $run): %R s"
    time sox "$IN" -r 48000 "$OUT"
done
rm -f "$OUT"
