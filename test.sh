#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer into
# build/asan and runs every test. Exits non-zero on any failure.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/setup.sh"

setup_packages test
setup_build build/asan -DCMAKE_BUILD_TYPE=Debug -DSONDRIX_SANITIZE=ON -DSONDRIX_TESTS=ON

export QT_QPA_PLATFORM=offscreen
export SONDRIX_AUDIO=null
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/tests/lsan.supp}
chmod 700 "$XDG_RUNTIME_DIR"

cd "$ROOT/build/asan"
ctest --output-on-failure -j "$(nproc)" --timeout 600
