#!/usr/bin/env bash
# Anonymous memory added by an edit session (200 edits on one hour of 44.1 kHz stereo, 1000 on two
# minutes) and the median time of one undo and one redo over it. Each session runs in a process of
# its own, so that neither starts on heap pages the other freed.
set -euo pipefail
for session in OneHour200Edits TwoMinutes1000Edits; do
    "$BUILD/bench/UndoMemoryBench" --benchmark_filter="EditSession/$session"
done
