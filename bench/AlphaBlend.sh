#!/usr/bin/env bash
# The blend kernels beside a plain copy of the same bytes (no outside tool blends 24-bit rows the
# same way, so memcpy is the yardstick), run in the same process.
set -euo pipefail
"$BUILD/bench/AlphaBlendBench" --benchmark_counters_tabular=true
