#!/usr/bin/env bash
# Builds an optimised configuration and runs the benchmarks with their side-by-side comparisons.
# Not part of CI. Benchmarks that need large files make them under ${BENCH_DIR:-/tmp/sondrix-bench}.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/setup.sh"

setup_packages bench
setup_build build/bench -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O3 -DNDEBUG" \
    -DSONDRIX_TESTS=OFF -DSONDRIX_BENCH=ON
export BENCH_DIR=${BENCH_DIR:-/tmp/sondrix-bench}
mkdir -p "$BENCH_DIR"
for script in "$ROOT"/bench/*.sh; do
    [ -e "$script" ] || continue
    echo "== $(basename "$script")"
    BUILD="$ROOT/build/bench" bash "$script"
done
